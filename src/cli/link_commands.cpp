// read, program, clear, ports: the radio transfers and the port list.
#include <cstdio>
#include <iostream>

#include "cli/cli.h"
#include "editor/new_image.h"
#include "editor/transfer.h"
#include "platform/qt_serial_line.h"
#include "platform/serial_ports.h"

namespace qm47::cli {

namespace {

// A radio that stays busy would keep --yes retrying for ever; a person would give up.
constexpr int kMaxBusyRetries = 10;

// The transfer's user interface on the command line: the editor's messages as they
// are, the progress line moving forward only, no blank monitor lines.
class TransferUi final : public UserInterface {
 public:
  explicit TransferUi(CliUserInterface& cli) : cli_(cli) {}

  Answer Message(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override {
    return cli_.Message(text, caption, icon, buttons);
  }
  Answer MessageWithDefault(const std::string& text, const std::string& caption, Icon icon, Buttons buttons,
                            DefaultButton defaultButton) override {
    const Answer a = cli_.MessageWithDefault(text, caption, icon, buttons, defaultButton);
    if (a == Answer::Retry && ++retries_ > kMaxBusyRetries) {
      std::cerr << "qm47-cli: giving up after " << kMaxBusyRetries << " retries" << std::endl;
      return Answer::Cancel;
    }
    return a;
  }
  void Monitor(const std::string& line) override {
    if (!line.empty()) cli_.Monitor(line);
  }
  void Progress(int value, int maximum) override {
    if (value <= shown_) return;
    shown_ = value;
    cli_.Progress(value, maximum);
  }
  void SetBusy(bool busy) override { cli_.SetBusy(busy); }
  void ProcessEvents() override { cli_.ProcessEvents(); }

 private:
  CliUserInterface& cli_;
  int retries_ = 0;
  int shown_ = -1;
};

struct PortArgs {
  std::string port;
  std::vector<std::string> rest;
};

// Splits off --port DEV; false after a usage error (already printed, `rc` set).
bool ParsePortArgs(const std::string& command, const std::vector<std::string>& args, PortArgs& out, int& rc) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--port") {
      if (i + 1 >= args.size()) {
        rc = UsageError(command, "--port needs a device (ttyUSB0, /dev/ttyUSB0, COM3 or a port number 1..4)");
        return false;
      }
      out.port = args[++i];
    } else if (args[i].rfind("--", 0) == 0) {
      rc = UsageError(command, "unknown option " + args[i]);
      return false;
    } else {
      out.rest.push_back(args[i]);
    }
  }
  if (out.port.empty()) {
    rc = UsageError(command, "needs --port DEV (ttyUSB0, /dev/ttyUSB0, COM3 or a port number 1..4)");
    return false;
  }
  return true;
}

bool IsDocument(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".hex" || ext == ".dat";
}

// One press of OK in the transfer dialog; kSuccess when the transfer said "Complete!!".
int Transfer(Context& ctx, const std::string& command, int mode, const std::string& port) {
  const std::string device = ResolvePortArgument(ctx.session.prefs, port);
  QtSerialLine line(device);
  SteadyClock clock;
  TransferUi ui(ctx.ui);
  ctx.session.flags.cancel = false;
  ctx.session.flags.error = false;
  RadioTransfer transfer(ctx.session, line, clock, mode, ui);
  transfer.dialog().Load();
  transfer.dialog().Ok();
  if (transfer.succeeded()) return kSuccess;
  const std::string& why = transfer.link().Diagnosis();
  std::cerr << "qm47-cli " << command << ": " << OperationTitle(mode) << " did not complete"
            << (why.empty() ? std::string(" on ") + device : ": " + why) << std::endl;
  return kFailed;
}

std::string UsbIds(const SerialPortDescription& p) {
  if (!p.vendorId || !p.productId) return "-";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04x:%04x", *p.vendorId, *p.productId);
  return buf;
}

}  // namespace

int RunRead(Context& ctx, const std::vector<std::string>& args) {
  PortArgs a;
  int rc = kUsage;
  if (!ParsePortArgs("read", args, a, rc)) return rc;
  if (a.rest.size() != 1) return UsageError("read", "expects one output file (.hex or .dat)");
  if (!IsDocument(a.rest[0])) return UsageError("read", "'" + a.rest[0] + "' is not a .hex or .dat file");
  // The areas a read does not take over keep the fresh image's bytes.
  NewImageSetup(ctx.session);
  if (const int t = Transfer(ctx, "read", transfer_mode::Read, a.port); t != kSuccess) return t;
  return SaveDocument(ctx, a.rest[0]);
}

int RunProgram(Context& ctx, const std::vector<std::string>& args) {
  PortArgs a;
  int rc = kUsage;
  if (!ParsePortArgs("program", args, a, rc)) return rc;
  if (a.rest.size() != 1) return UsageError("program", "expects one input file (.hex or .dat)");
  if (!IsDocument(a.rest[0])) return UsageError("program", "'" + a.rest[0] + "' is not a .hex or .dat file");
  if (const int o = OpenDocument(ctx, a.rest[0]); o != kSuccess) return o;
  return Transfer(ctx, "program", transfer_mode::Program, a.port);
}

int RunClear(Context& ctx, const std::vector<std::string>& args) {
  PortArgs a;
  int rc = kUsage;
  if (!ParsePortArgs("clear", args, a, rc)) return rc;
  if (a.rest.size() != 1) return UsageError("clear", "expects what to clear: mmsi, dsc-log or distress-log");
  const std::string& what = a.rest[0];
  const int mode = what == "mmsi"           ? transfer_mode::ClearMmsi
                   : what == "dsc-log"      ? transfer_mode::ClearDscLog
                   : what == "distress-log" ? transfer_mode::ClearDistressLog
                                            : -1;
  if (mode < 0) return UsageError("clear", "'" + what + "' is not mmsi, dsc-log or distress-log");
  NewImageSetup(ctx.session);
  return Transfer(ctx, "clear", mode, a.port);
}

int RunPorts(Context& ctx, const std::vector<std::string>& args) {
  if (!args.empty()) return UsageError("ports", "takes no arguments");
  const auto ports = ListSerialPorts();
  if (ports.empty()) std::cout << "No serial ports found.\n";
  else std::cout << "NAME\tDEVICE\tDESCRIPTION\tUSB VENDOR:PRODUCT\tMANUFACTURER\tSERIAL\n";
  for (const auto& p : ports) {
    std::cout << p.name << "\t" << p.location << "\t" << (p.description.empty() ? "-" : p.description) << "\t"
              << UsbIds(p);
    if (!p.manufacturer.empty()) std::cout << "\t" << p.manufacturer;
    if (!p.serialNumber.empty()) std::cout << "\tserial " << p.serialNumber;
    std::cout << "\n";
  }
  std::cout << "\nPort numbers for --port 1.." << kPortNumbers << " (preferences " << kPortSection << "/"
            << PortDeviceKey(1) << ".." << PortDeviceKey(kPortNumbers) << "):\n";
  for (int n = 1; n <= kPortNumbers; ++n) {
    std::cout << "  " << n << " = " << PortDevice(ctx.session.prefs, n) << "\n";
  }
  std::cout << std::flush;
  return kSuccess;
}

}  // namespace qm47::cli
