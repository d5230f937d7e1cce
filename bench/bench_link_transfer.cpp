// A complete read, and a program with its read-back check at both line rates, with
// qm47-cli against qm47-sim throttled to the line rate. Reports the wall time against the
// floor (every byte on the wire at its line rate plus the pauses the protocol mandates;
// bound 1.05) and the tool's CPU time against the wall time. Then programming only what
// changed, after the backup read on the same connection: the time past that read against
// its bounds (one renamed channel checked by its written block: 1.5 s; checked whole: 1.1
// times its floor; nothing to write: 0.5 s; every block changed: the whole program's time).
#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "link/link.h"
#include "editor/radio/transfer_dialog.h"
#include "link/transfers.h"
#include "model/fresh_image.h"
#include "model/models.h"
#include "sim/memory_pipe.h"
#include "sim/radio_engine.h"
#include "files/hex_file.h"
#include "model/codec.h"

#include "record_builder.h"
#include "sim_process.h"

namespace {

using namespace qm47;
namespace fs = std::filesystem;

std::string BinDir() {
  if (const char* env = std::getenv("QM47_BIN_DIR")) return env;
  return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin").string();
}

// Counts the time every byte spends on the wire at the rate the port is set to.
class WireMeter final : public ForwardingSerialLine {
 public:
  explicit WireMeter(SerialLine& line) : ForwardingSerialLine(line) {}
  std::optional<std::uint8_t> ReadByte() override {
    auto b = line_.ReadByte();
    if (b) Count(1);
    return b;
  }
  std::optional<IoError> Write(std::span<const std::uint8_t> bytes) override {
    Count(bytes.size());
    return line_.Write(bytes);
  }
  void FlushInput() override {
    // Flushed bytes crossed the wire too.
    Count(line_.BytesWaiting());
    line_.FlushInput();
  }
  double seconds = 0;

 private:
  void Count(std::size_t n) { seconds += static_cast<double>(n) * 10.0 / std::stoi(line_.Settings()); }
};

// What one benchmark runs: a read, or a program checked by its read-back; at 57600, or in
// the 19200-baud mode against a radio that stays at 19200.
struct Job {
  int mode = transfer_mode::Read;
  bool slow = false;
};

// The floor of one transfer: the same run in-process, with wire time and pauses summed.
// `radioHolds`: the radio's memory, else the fresh image; `program`: how a program writes,
// else the whole write checked whole; `send`: the record programmed, else the fresh one.
double FloorSeconds(const Job& job, const MemoryImage* radioHolds = nullptr, const ProgramOptions* program = nullptr,
                    const SettingsRecord* send = nullptr) {
  VirtualClock clock;
  MemoryImage fresh;
  MakeFreshImage(fresh, 1);
  if (radioHolds) fresh = *radioHolds;
  sim::RadioEngine radio(fresh.bytes());
  radio.SetModelCode(*ModelCode(1));
  radio.SetFaults({.slowOnly = job.slow});
  sim::MemoryPipe pipe(radio, clock);
  WireMeter meter(pipe);
  struct Quiet : UserInterface {
    Answer Show(const MessageBox&) override { return Answer::Ok; }
  } ui;
  ErrorLog log("", false);
  Link link(meter, clock, ui, log, LinkOptions{false, job.slow, 3});
  MemoryImage image;
  SettingsRecord record;
  NewImageData(record, image, 1);
  if (send) record = *send;
  const ModelDescriptor model = MakeDescriptor(1, true, true);
  Transfers transfers(link, image, record, model);
  transfers.SetVerify(job.mode == transfer_mode::Program);
  if (program) transfers.SetProgramOptions(*program);
  TransferDialog dialog(job.mode, link, transfers);
  dialog.Ok();
  if (!dialog.completed()) return 0;
  const double pauses = std::chrono::duration<double>(clock.Now() - Clock::TimePoint{}).count();
  return pauses + meter.seconds;
}

struct Child {
  double wall = 0;
  double cpu = 0;
  int status = -1;
};

Child Run(const std::vector<std::string>& args, const std::string& home) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  Child c;
  rusage usage{};
  ::wait4(pid, &c.status, 0, &usage);
  c.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  c.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
          static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return c;
}


void Transfer(benchmark::State& state, const Job& job) {
  const std::string bin = BinDir();
  const fs::path dir = fs::temp_directory_path() / ("qm47-bench-link-" + std::to_string(::getpid()));
  fs::create_directories(dir / "home");
  const std::string port = (dir / "radio.pty").string();
  const std::string file = (dir / "radio.hex").string();
  std::vector<std::string> simArgs = {"--model", "1", "--link", port};
  if (job.slow) simArgs.push_back("--slow-only");
  qm47::testing::SimProcess sim(bin + "/qm47-sim", "", simArgs);
  if (!sim.ok()) {
    state.SkipWithError("qm47-sim did not start");
    return;
  }
  const std::string home = (dir / "home").string();
  std::vector<std::string> cli = {bin + "/qm47-cli", "--data-dir", bin, "--model", "1"};
  if (job.slow) cli.push_back("--baud19200");
  // Programming needs a file; a fresh one changes the radio's settings nowhere, which
  // makes no difference to a whole write.
  if (job.mode == transfer_mode::Program) {
    std::vector<std::string> make = cli;
    make.insert(make.end(), {"new", file});
    Run(make, home);
  }
  const double floor = FloorSeconds(job);
  std::vector<std::string> command = cli;
  if (job.mode == transfer_mode::Read) {
    command.insert(command.end(), {"read", "--port", port, file});
  } else {
    // The backup read before it is a read of its own, measured above.
    command.insert(command.end(), {"program", "--no-backup", "--port", port, file});
  }
  Child c;
  for (auto _ : state) {
    c = Run(command, home);
    state.SetIterationTime(c.wall);
  }
  if (!WIFEXITED(c.status) || WEXITSTATUS(c.status) != 0) state.SkipWithError("the transfer failed");
  state.counters["floor_s"] = floor;
  state.counters["wall_s"] = c.wall;
  state.counters["wall_per_floor"] = floor > 0 ? c.wall / floor : 0;
  state.counters["cpu_pct"] = 100.0 * c.cpu / c.wall;
  std::printf("%s%s: wall %.2f s, floor %.2f s, ratio %.3f (bound 1.05); CPU %.3f s = %.2f %% of wall (target < 5 %%)\n",
              OperationTitle(job.mode).c_str(), job.mode == transfer_mode::Program ? " with its read-back" : "",
              c.wall, floor, floor > 0 ? c.wall / floor : 0.0, c.cpu, 100.0 * c.cpu / c.wall);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

// ---- programming only what changed ----

enum class Edit { None, OneName, Everything };

// What the radio holds (the fresh settings as a program leaves them) and the record
// programmed into it.
struct Images {
  MemoryImage radio;
  SettingsRecord send;
};

Images MakeImages(Edit edit) {
  Images i;
  NewImageData(i.send, i.radio, 1);
  PrepareImageForExport(i.send, i.radio, 1);
  if (edit == Edit::OneName) i.send.CHUSA[1].ChTag = "HARBOR";
  if (edit == Edit::Everything) qm47::testing::RandomRecord(1).Fill(i.send);
  return i;
}

// One command against a radio just started with `image`; its wall time.
double TimedAgainst(const std::string& bin, const std::string& image, const std::vector<std::string>& command,
                    const std::string& home, bool& failed) {
  qm47::testing::SimProcess sim(bin + "/qm47-sim", "", {"--image", image, "--link", command.at(command.size() - 2)});
  if (!sim.ok()) {
    failed = true;
    return 0;
  }
  const Child c = Run(command, home);
  failed = failed || !WIFEXITED(c.status) || WEXITSTATUS(c.status) != 0;
  return c.wall;
}

void ChangedOnly(benchmark::State& state, Edit edit, bool writtenOnly) {
  const std::string bin = BinDir();
  const fs::path dir = fs::temp_directory_path() / ("qm47-bench-changed-" + std::to_string(::getpid()));
  fs::create_directories(dir / "home");
  const std::string home = (dir / "home").string();
  const std::string port = (dir / "radio.pty").string();
  const std::string radioFile = (dir / "radio.hex").string();
  const std::string sendFile = (dir / "send.hex").string();
  const Images images = MakeImages(edit);
  MemoryImage sent = images.radio;
  SettingsRecord rec = images.send;
  PrepareImageForExport(rec, sent, 1);
  if (WriteHexFile(radioFile, images.radio) || WriteHexFile(sendFile, sent)) {
    state.SkipWithError("the images could not be written");
    return;
  }
  const std::vector<std::string> cli = {bin + "/qm47-cli", "--data-dir", bin, "--model", "1"};
  std::vector<std::string> read = cli;
  read.insert(read.end(), {"read", "--port", port, (dir / "read.hex").string()});
  std::vector<std::string> program = cli;
  program.insert(program.end(), {"program", "--changed-only", "--accept-changes"});
  if (writtenOnly) program.push_back("--verify=written");
  program.insert(program.end(), {"--port", port, sendFile});
  // The reference of a change everywhere: the whole program with its read-back.
  std::vector<std::string> whole = cli;
  whole.insert(whole.end(), {"program", "--no-backup", "--accept-changes", "--port", port, sendFile});

  bool failed = false;
  double after = 0, reference = 0;
  for (auto _ : state) {
    const double readWall = TimedAgainst(bin, radioFile, read, home, failed);
    const double programWall = TimedAgainst(bin, radioFile, program, home, failed);
    after = programWall - readWall;
    state.SetIterationTime(programWall);
  }
  const char* bound = "";
  double limit = 0;
  switch (edit) {
    case Edit::None:
      limit = 0.5;
      bound = "0.5 s";
      break;
    case Edit::OneName:
      if (writtenOnly) {
        limit = 1.5;
        bound = "1.5 s";
      } else {
        // One block written and the whole radio read back, on the wire and in the pauses.
        ProgramOptions o;
        o.check = ProgramCheck::Whole;
        o.changedOnly = true;
        o.readFirst = true;
        reference = FloorSeconds({transfer_mode::Program}, &images.radio, &o, &images.send) -
                    FloorSeconds({transfer_mode::Read}, &images.radio);
        limit = 1.1 * reference;
        bound = "1.1 x its floor";
      }
      break;
    case Edit::Everything:
      reference = TimedAgainst(bin, radioFile, whole, home, failed);
      limit = reference;
      bound = "the whole program's time";
      break;
  }
  if (failed) state.SkipWithError("a transfer failed");
  state.counters["after_read_s"] = after;
  state.counters["after_per_bound"] = limit > 0 ? after / limit : 0;
  std::printf("changed only, %s, %s check: %.2f s after the read, bound %.2f s (%s)%s\n",
              edit == Edit::None ? "nothing changed" : edit == Edit::OneName ? "one channel renamed" : "every setting changed",
              writtenOnly ? "written-block" : "whole", after, limit, bound,
              reference > 0 ? (" ; reference " + std::to_string(reference) + " s").c_str() : "");
  std::error_code ec;
  fs::remove_all(dir, ec);
}

void BM_ChangedOnlyOneNameCheckedWritten(benchmark::State& state) { ChangedOnly(state, Edit::OneName, true); }
void BM_ChangedOnlyOneNameCheckedWhole(benchmark::State& state) { ChangedOnly(state, Edit::OneName, false); }
void BM_ChangedOnlyNothingChanged(benchmark::State& state) { ChangedOnly(state, Edit::None, true); }
void BM_ChangedOnlyEverythingChanged(benchmark::State& state) { ChangedOnly(state, Edit::Everything, false); }

void BM_ReadRadioAt57600(benchmark::State& state) { Transfer(state, {transfer_mode::Read}); }
void BM_ProgramAndCheckAt57600(benchmark::State& state) { Transfer(state, {transfer_mode::Program}); }
void BM_ProgramAndCheckAt19200(benchmark::State& state) { Transfer(state, {transfer_mode::Program, true}); }

BENCHMARK(BM_ReadRadioAt57600)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ProgramAndCheckAt57600)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ProgramAndCheckAt19200)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ChangedOnlyOneNameCheckedWritten)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ChangedOnlyOneNameCheckedWhole)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ChangedOnlyNothingChanged)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ChangedOnlyEverythingChanged)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
