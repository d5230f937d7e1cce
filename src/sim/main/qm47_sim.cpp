// qm47-sim: a virtual radio on a pseudo-terminal for qm47-cli and the editor to talk to.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <poll.h>
#include <unistd.h>

#include "cli/command_line.h"
#include "model/codec.h"
#include "model/fresh_image.h"
#include "model/memory_image.h"
#include "model/models.h"
#include "sim/pty_radio.h"
#include "sim/radio_engine.h"

namespace {

using namespace qm47;
using namespace qm47::sim;

constexpr const char* kHelp = R"(Usage: qm47-sim [OPTIONS]

Plays a radio in programming mode on a pseudo-terminal. Prints the terminal's device
path on the first line of standard output, then answers until interrupted. Like a real
radio it listens and answers at 19200 baud after power-on and at 57600 once it has
answered ACMD:002; bytes sent at another rate are noise it never answers, and answers
reach the tool only while its end is at the radio's rate.

Options:
  --model N             radio model 1..4 whose default settings (with its channel plans)
                          and model code the memory holds (default 1)
  --image FILE          start from this 16384-byte image instead
  --save FILE           write the memory to FILE after every accepted write request
  --dump FILE           write the memory to FILE when the radio stops (interrupted,
                          its terminal gone, or --exit-at)
  --link PATH           also make PATH a symbolic link to the device (removed on exit)
  --trace               print every line and byte that crosses the line, with its rate, on
                          standard error
  --no-throttle         answer at once instead of at the line rate
  --slow-only           ignore ACMD:002 and stay at 19200 baud, as a radio for the
                          19200-baud mode
Faults (N counts from 1):
  --busy N              report status "01" (busy) to the first N status requests
  --error-at N          answer "ERROR" to the Nth command (commands are the lines the
                          radio answers: ACMD, #CMDSY, #CEPSR, #CEPRD, #CEPWR)
  --error-count C       ... and to C commands in all from there (default 1; -1 for
                          every command from N on)
  --silent-at N         do not answer the Nth command ...
  --silent-count C      ... nor the C-1 after it (default 1; -1 for every one from N on)
  --corrupt-at N        give the Nth data answer a wrong checksum
  --wrong-address-at N  give the Nth data answer the next block's address
  --wrong-length-at N   give the Nth data answer a length one more than it carries
  --cut-at N            send only the first half of the Nth data answer, without a line end
  --exit-at N           go away at the Nth command, as an unplugged cable does: the
                          device closes and the program ends without answering
  --model-code CODE     hold CODE (decimal) as the model code instead of the model's
  --drop-write-at ADDR  answer the first write request covering address ADDR (decimal,
                          or hexadecimal as 0x0C00) as written, but keep the old bytes
  --no-ping-echo        ignore the "P" ping even at the radio's rate
  --version             print the version and stop
)";

// The terminals among standard input, output and error; when one hangs up (its window
// closed without a SIGHUP reaching us), the radio goes too and takes its link along.
std::vector<pollfd> Terminals() {
  std::vector<pollfd> out;
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::isatty(fd)) out.push_back({fd, 0, 0});
  }
  return out;
}

bool HungUp(std::vector<pollfd>& terminals) {
  if (terminals.empty() || ::poll(terminals.data(), terminals.size(), 0) <= 0) return false;
  for (const pollfd& p : terminals) {
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return true;
  }
  return false;
}

std::optional<int> Number(const std::string& text) {
  try {
    std::size_t used = 0;
    const int n = std::stoi(text, &used);
    if (used == text.size()) return n;
  } catch (...) {
  }
  return std::nullopt;
}

// A memory address, decimal or 0x-hexadecimal; never 0 or 1, which hold the model code.
std::optional<int> ParseAddress(const std::string& text) {
  try {
    std::size_t used = 0;
    const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
    const long n = std::stol(hex ? text.substr(2) : text, &used, hex ? 16 : 10);
    if (hex) used += 2;
    if (used == text.size() && n >= 2 && n < static_cast<long>(qm47::kImageSize)) return static_cast<int>(n);
  } catch (...) {
  }
  return std::nullopt;
}

int Usage(const std::string& problem) {
  std::cerr << "qm47-sim: " << problem << "\nTry 'qm47-sim --help'." << std::endl;
  return 2;
}

bool SaveMemory(const std::string& path, const Memory& memory) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(memory.data()), static_cast<std::streamsize>(memory.size()));
    if (!out) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  RadioFaults faults;
  int model = 1;
  int modelCode = -1;  // the model's own unless given
  // The options that take a number, and where it goes.
  const std::pair<const char*, int*> numbers[] = {
      {"model", &model},
      {"model-code", &modelCode},
      {"busy", &faults.busyCount},
      {"error-at", &faults.errorAtCommand},
      {"error-count", &faults.errorCount},
      {"silent-at", &faults.silentAtCommand},
      {"silent-count", &faults.silentCount},
      {"corrupt-at", &faults.corruptAtData},
      {"wrong-address-at", &faults.wrongAddressAtData},
      {"wrong-length-at", &faults.wrongLengthAtData},
      {"cut-at", &faults.cutAtData},
      {"exit-at", &faults.vanishAtCommand},
  };
  QList<QCommandLineOption> options = {
      QCommandLineOption(QStringList{"h", "help"}), QCommandLineOption("version"), QCommandLineOption("trace"),
      QCommandLineOption("no-throttle"), QCommandLineOption("no-ping-echo"), QCommandLineOption("slow-only"),
      {"image", {}, "FILE"}, {"save", {}, "FILE"}, {"dump", {}, "FILE"}, {"link", {}, "PATH"},
      {"drop-write-at", {}, "ADDR"}};
  for (const auto& [name, value] : numbers) options.append({name, {}, "N"});
  QCommandLineParser parser;
  const std::string problem = ReadCommandLine(parser, options, CommandLineWords(argc, argv));
  if (parser.isSet("help")) {
    std::cout << kHelp;
    return 0;
  }
  if (parser.isSet("version")) {
    std::cout << "qm47-sim " QM47_VERSION << std::endl;
    return 0;
  }
  if (!problem.empty()) return Usage(problem);
  if (!parser.positionalArguments().isEmpty()) {
    return Usage("takes options only, not '" + parser.positionalArguments().constFirst().toStdString() + "'");
  }
  for (const auto& [name, value] : numbers) {
    for (const QString& given : parser.values(name)) {
      const auto n = Number(given.toStdString());
      if (!n) return Usage("--" + std::string(name) + ": '" + given.toStdString() + "' is not a number");
      *value = *n;
    }
  }
  if (!ModelCode(model)) return Usage("--model: no model " + std::to_string(model) + " (1..4)");
  if (parser.isSet("model-code") && (modelCode < 0 || modelCode > 0xFFFF)) return Usage("--model-code: 0..65535");
  for (const QString& given : parser.values("drop-write-at")) {
    const auto at = ParseAddress(given.toStdString());
    if (!at) return Usage("--drop-write-at: '" + given.toStdString() + "' is not an address 0x0002..0x3FFF");
    faults.dropWriteAt = *at;
  }
  const TypedWords typed(argc, argv);
  const std::string imagePath = typed(parser.value("image")), savePath = typed(parser.value("save")),
                    dumpPath = typed(parser.value("dump")), linkPath = typed(parser.value("link"));
  const bool trace = parser.isSet("trace"), throttle = !parser.isSet("no-throttle");
  faults.noPingEcho = parser.isSet("no-ping-echo");
  faults.slowOnly = parser.isSet("slow-only");

  Memory memory{};
  if (!imagePath.empty()) {
    std::ifstream in(imagePath, std::ios::binary);
    in.read(reinterpret_cast<char*>(memory.data()), static_cast<std::streamsize>(memory.size()));
    if (!in || in.peek() != std::char_traits<char>::eof()) {
      std::cerr << "qm47-sim: " << imagePath << " is not a 16384-byte image" << std::endl;
      return 1;
    }
  } else {
    // A radio as it leaves the dealer: the model's defaults with its channel plans, as
    // this tool writes them, not the bare factory bytes (which read as every channel
    // enabled and duplex).
    SettingsRecord rec;
    MemoryImage fresh;
    NewImageData(rec, fresh, model);
    PrepareImageForExport(rec, fresh, model);
    memory = fresh.bytes();
  }
  RadioEngine radio(memory);
  if (imagePath.empty() || modelCode >= 0) {
    radio.SetModelCode(static_cast<std::uint16_t>(modelCode >= 0 ? modelCode : *ModelCode(model)));
  }
  radio.SetFaults(faults);
  if (trace) radio.SetTrace([](const TraceEvent& e) { std::cerr << TraceLine(e) << std::endl; });
  if (!savePath.empty()) {
    radio.SetOnWrite([savePath](const Memory& m) {
      if (!SaveMemory(savePath, m)) std::cerr << "qm47-sim: cannot save " << savePath << std::endl;
    });
  }

  // Interrupts are collected, not handled, so the loop can tidy up on its own terms.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  sigprocmask(SIG_BLOCK, &stopSignals, nullptr);

  // Before anything is printed: a terminal gone by then is no terminal to isatty().
  std::vector<pollfd> terminals = Terminals();
  PtyRadio pty(radio, throttle);
  if (trace) {
    pty.SetOnLost([](const Bytes& bytes, int rate, int toolRate) {
      std::cerr << "radio < (lost) " << Printable(std::string(bytes.begin(), bytes.end())) << "  @" << rate
                << ", tool at " << toolRate << std::endl;
    });
  }
  std::string error;
  const auto device = pty.Open(error);
  if (!device) {
    std::cerr << "qm47-sim: " << error << std::endl;
    return 1;
  }
  if (!linkPath.empty()) {
    std::error_code ec;
    if (std::filesystem::is_symlink(linkPath, ec)) std::filesystem::remove(linkPath, ec);
    std::filesystem::create_symlink(*device, linkPath, ec);
    if (ec) {
      std::cerr << "qm47-sim: cannot link " << linkPath << ": " << ec.message() << std::endl;
      return 1;
    }
  }
  std::cout << *device << std::endl;

  pty.Serve([&] {
    const timespec zero{0, 0};
    return !radio.vanished() && sigtimedwait(&stopSignals, nullptr, &zero) < 0 && !HungUp(terminals);
  });
  if (radio.vanished()) std::cerr << "qm47-sim: gone at command " << faults.vanishAtCommand << std::endl;
  if (const std::size_t n = radio.strayBytes(); n > 0) {
    std::cerr << "qm47-sim: " << n << (n == 1 ? " byte" : " bytes") << " arrived at a rate the radio was not at: "
              << radio.StrayReport() << std::endl;
  }
  if (!dumpPath.empty() && !SaveMemory(dumpPath, radio.memory())) {
    std::cerr << "qm47-sim: cannot save " << dumpPath << std::endl;
  }

  if (!linkPath.empty()) {
    std::error_code ec;
    // Only our own link: a radio started since on the same name keeps its link.
    if (std::filesystem::read_symlink(linkPath, ec) == *device) std::filesystem::remove(linkPath, ec);
  }
  return 0;
}
