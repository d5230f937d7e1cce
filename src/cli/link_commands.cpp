// read, program, clear, ports: the radio transfers and the port list.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>

#include "cli/cli.h"
#include "cli/interrupts.h"
#include "cli/radio_transfer.h"
#include "editor/session/fault_detail.h"
#include "editor/documents/image_file.h"
#include "editor/documents/new_image.h"
#include "editor/radio/transfer.h"
#include "link/transfers.h"
#include "link/watched_line.h"
#include "files/atomic_file.h"
#include "platform/qt_serial_line.h"
#include "platform/serial_ports.h"

namespace qm47::cli {

namespace {

// A radio that stays busy would keep --yes retrying for ever; a person would give up.
constexpr int kMaxBusyRetries = 10;

// "The radio is unchanged." as the end of a line: "the radio is unchanged".
std::string Sentence(std::string text) {
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

// The transfer's user interface on the command line: the editor's messages as they
// are, the progress line moving forward only, no blank monitor lines; an interrupt
// presses Cancel, and a radio silent for a while shows as such on a terminal.
class TransferUi final : public UserInterface {
 public:
  TransferUi(CliUserInterface& cli, const WatchedLine& line, const TransferRun& run, const std::string& fileModel)
      : cli_(cli), line_(line), run_(run), fileModel_(fileModel) {}

  void OnInterrupt(std::function<void()> cancel) { cancel_ = std::move(cancel); }

  Answer Show(const MessageBox& box) override {
    if (!run_.saysComplete && box.text == transfer_text::kComplete) return Answer::Ok;
    const Answer a = cli_.Show(box);
    if (a == Answer::Retry && ++retries_ > kMaxBusyRetries) {
      cli_.Line("qm47-cli: giving up after " + std::to_string(kMaxBusyRetries) + " retries");
      return Answer::Cancel;
    }
    return a;
  }
  std::string HowToChooseModel(int number, const std::string& name) const override {
    // Another --model would only make the file refuse to open: the file is what does not fit.
    if (!run_.file.empty()) {
      return "program a " + name + " file into it: '" + run_.file + "' is for a " + fileModel_ +
             ", and 'qm47-cli read' saves the radio's own settings as a " + name + " file";
    }
    return cli_.HowToChooseModel(number, name);
  }
  void Monitor(const std::string& line) override {
    if (!line.empty()) cli_.Monitor(line);
  }
  void Progress(int value, int maximum) override {
    // A verify's read-back starts a bar of its own after the write's; the 0 each loop
    // shows first only clears the way.
    if (shown_ >= maximum && value == 0) {
      shown_ = -1;
      return;
    }
    if (value <= shown_) return;
    shown_ = value;
    moved_ = std::chrono::steady_clock::now();
    cli_.Progress(value, maximum);
  }
  void SetBusy(bool busy) override { cli_.SetBusy(busy); }
  void ProcessEvents() override {
    if (PendingInterrupt() != 0) {
      if (!cancelling_) cli_.Line("cancelling\u2026");
      cancelling_ = true;
      // The link's own steps after a cancel (the abort and its confirmation) run their course.
      if (cancel_) cancel_();
    }
    // The log clears step through the addresses they do not write without a word on the line.
    const auto still = std::min(line_.Quiet(), std::chrono::steady_clock::now() - moved_);
    cli_.Waiting(RadioSeemsSilent(!cancelling_, still));
    cli_.ProcessEvents();
  }

 private:
  CliUserInterface& cli_;
  const WatchedLine& line_;
  const TransferRun& run_;
  std::string fileModel_;
  std::function<void()> cancel_;
  bool cancelling_ = false;
  int retries_ = 0;
  int shown_ = -1;
  std::chrono::steady_clock::time_point moved_ = std::chrono::steady_clock::now();
};

// QM47_TEST_TIME_SCALE=N (N > 1) runs the link's clock N times as fast, so a test can
// meet every ten-second time-out of a silent radio in a fraction of a second.
std::unique_ptr<Clock> TransferClock() {
  const char* text = std::getenv("QM47_TEST_TIME_SCALE");
  char* end = nullptr;
  const double factor = text ? std::strtod(text, &end) : 0.0;
  if (text && end != text && *end == '\0' && factor > 1.0) return std::make_unique<ScaledClock>(factor);
  return std::make_unique<SteadyClock>();
}

}  // namespace

int PortMissing(const std::string& command) {
  return UsageError(command, "needs --port DEV (ttyUSB0, /dev/ttyUSB0, COM3 or a port number 1..4)");
}

int AfterInterrupt(Context& ctx, const std::string& command, int rc) {
  const int signal = PendingInterrupt();
  if (signal == 0 || rc != kSuccess) return rc;
  ctx.ui.Line("qm47-cli " + command + ": interrupted by " + SignalName(signal) + " as it finished; it had completed");
  return 128 + signal;
}

int RunTransfer(Context& ctx, const std::string& command, const TransferJob& job, const std::string& port,
                const TransferRun& run) {
  const int mode = job.mode;
  // A signal before the transfer starts: nothing is sent at all.
  if (const int signal = PendingInterrupt(); signal != 0) {
    ctx.ui.Line("qm47-cli " + command + ": interrupted by " + SignalName(signal) + " before " +
                OperationTitle(mode) + "; the radio is unchanged");
    return 128 + signal;
  }
  const std::string device = ResolvePortArgument(ctx.session.prefs, port);
  QtSerialLine serial(device);
  WatchedLine line(serial);
  const std::unique_ptr<Clock> clock = TransferClock();
  TransferUi ui(ctx.ui, line, run, ctx.session.model.name);
  RadioTransfer transfer(ctx.session, line, *clock, job, ui);
  transfer.dialog().SetTellsRadioState(false);
  ui.OnInterrupt([&] { transfer.dialog().Cancel(); });
  if (run.takeRadioModel) transfer.transfers().AdoptModelWith([&](int a, int b) { TakeRadioModel(ctx, a, b); });
  transfer.dialog().Load();
  transfer.dialog().Ok();
  const int signal = PendingInterrupt();
  transfer.dialog().RequestClose();
  if (run.outcome) *run.outcome = transfer.outcome();
  // An interrupt that came too late to cancel leaves a finished transfer finished.
  if (transfer.succeeded()) return kSuccess;
  const TransferResult result = transfer.outcome().result;
  std::string state = Sentence(RadioStateText(mode, result.radio));
  if (result.radio == RadioState::PartlyWritten && !result.written.empty()) {
    state += " (sent to it before it stopped: " + AreasText(result.written) + ")";
  }
  if (signal != 0) {
    ctx.ui.Line("qm47-cli " + command + ": interrupted by " + SignalName(signal) + "; " + state);
    return 128 + signal;
  }
  const std::string& why = result.diagnosis;
  const bool toldWhy = why.empty() || result.diagnosisShown;
  ctx.ui.Line("qm47-cli " + command + ": " + OperationTitle(mode) + " did not complete" +
              (toldWhy ? " on " + device : ": " + why) + "; " + state);
  return kFailed;
}

namespace {

bool IsDocument(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".hex" || ext == ".dat";
}

std::string UsbIds(const SerialPortDescription& p) {
  if (!p.vendorId || !p.productId) return "-";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04x:%04x", *p.vendorId, *p.productId);
  return buf;
}

}  // namespace

int RunRead(Context& ctx, const CommandArgs& args) {
  if (args.Value("port").empty()) return PortMissing("read");
  if (args.positional.size() != 1) return UsageError("read", "expects one output file (.hex or .dat)");
  const std::string& out = args.positional[0];
  if (!IsDocument(out)) return UsageError("read", "'" + out + "' is not a .hex or .dat file");
  // Found only after the transfer, a file that cannot be written would lose the read.
  if (const auto why = CheckWritable(out)) {
    ctx.session.SayWhy(kFileSaveErrorMessage, SaveFaultDetail(out, *why) + " The radio was not read.",
                       Icon::Exclamation);
    return kFailed;
  }
  const InterruptGuard guard;
  // The areas a read does not take over keep the fresh image's bytes.
  NewImageSetup(ctx.session);
  TransferOutcome read;
  TransferRun run;
  run.outcome = &read;
  run.takeRadioModel = !ctx.options.model;
  const int t = RunTransfer(ctx, "read", {transfer_mode::Read}, args.Value("port"), run);
  if (t != kSuccess) return t;
  const RadioBackup kept = read.backup.value_or(RadioBackup{});
  if (!kept.problem.empty()) ctx.ui.Line("qm47-cli read: no backup of the radio was kept: " + kept.problem);
  const int saved = SaveDocument(ctx, out);
  if (saved == kFailed) {
    ctx.ui.Line(kept.path.empty() ? "qm47-cli read: what the radio sent is lost"
                                  : "qm47-cli read: what the radio sent is kept in " + kept.path +
                                        "; 'qm47-cli convert' it to where it should go");
  } else if (saved == kSuccess) {
    // Said whether or not anyone watches the progress: a log shows which radio this was.
    const ModelDescriptor& model = ctx.session.model;
    ctx.ui.Line("qm47-cli read: the radio is a " + model.name + " (model " + std::to_string(model.number) +
                "); its settings are in " + out + (kept.path.empty() ? "" : " and backed up in " + kept.path));
  }
  return AfterInterrupt(ctx, "read", saved);
}

int RunClear(Context& ctx, const CommandArgs& args) {
  if (args.Value("port").empty()) return PortMissing("clear");
  if (args.positional.size() != 1) return UsageError("clear", "expects what to clear: mmsi, dsc-log or distress-log");
  const std::string& what = args.positional[0];
  const int mode = what == "mmsi"           ? transfer_mode::ClearMmsi
                   : what == "dsc-log"      ? transfer_mode::ClearDscLog
                   : what == "distress-log" ? transfer_mode::ClearDistressLog
                                            : -1;
  if (mode < 0) return UsageError("clear", "'" + what + "' is not mmsi, dsc-log or distress-log");
  const InterruptGuard guard;
  NewImageSetup(ctx.session);
  TransferRun run;
  run.takeRadioModel = !ctx.options.model;
  return AfterInterrupt(ctx, "clear", RunTransfer(ctx, "clear", {mode}, args.Value("port"), run));
}

int RunPorts(Context& ctx, const CommandArgs& args) {
  if (!args.positional.empty()) return UsageError("ports", "takes no arguments");
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
