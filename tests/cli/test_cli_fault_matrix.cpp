// Every radio transfer of qm47-cli against every fault qm47-sim plays, end to end on a
// pseudo-terminal. The outcomes become reliability.md in the build folder, which
// scripts/reliability.sh copies to docs/.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <thread>

#include "cli_fixture.h"
#include "cli_process.h"
#include "sim_process.h"

namespace {

using namespace std::chrono_literals;
using namespace qm47::testing;
namespace fs = std::filesystem;

// Cells that must sit out the link's time-outs run its clock this many times as fast
// (QM47_TEST_TIME_SCALE); every other cell runs in real time, so a wait it should not
// make would show.
constexpr double kTimeScale = 100;
// Starting two programs on a busy machine, sanitizers included.
constexpr double kSlackSeconds = 3;
// The link's documented pauses: 10 ms before each write and per idle step of a block
// loop, 1 s before synchronising and 0.5 s after a finished transfer; and twice the 20 ms
// a port waits after its last bytes' wire time before it changes rate or closes.
constexpr double kPauseSeconds = 0.010;
constexpr double kFixedPauseSeconds = 1.54;

enum class Kind { Read, Program, ClearMmsi, ClearDsc, ClearDistress };

struct Transfer {
  Kind kind;
  std::string command;  // qm47-cli's words
  // A request in the block loop where faults strike mid-transfer: the command's number as
  // the simulator counts them (ACMD:002, two #CMDSY, the status request and the two
  // model-check reads come first) and the address it asks for.
  int midCommand;
  int midAddress;
  int idleSteps;  // 10 ms steps of the block loop that send nothing
};

const std::vector<Transfer>& Transfers() {
  static const std::vector<Transfer> transfers = {
      {Kind::Read, "read --port radio.pty radio.hex", 6 + 128, 0x1FC0, 0},
      // 62 single bytes, then 64-byte blocks: the 100th of them.
      {Kind::Program, "program --no-backup --no-verify --port radio.pty fresh.hex", 6 + 62 + 100, 0x1A00, 44},
      {Kind::ClearMmsi, "clear mmsi --port radio.pty", 7, 0x0085, 0},
      {Kind::ClearDsc, "clear dsc-log --port radio.pty", 6 + 14, 0x3940, 256 - 28},
      {Kind::ClearDistress, "clear distress-log --port radio.pty", 6 + 12, 0x3E60, 512 - 23},
  };
  return transfers;
}

std::string Hex4(int value) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", value);
  return buf;
}

std::string MidRequest(const Transfer& t) {
  return std::string(t.kind == Kind::Read ? "#CEPRD" : "#CEPWR") + "\\t" + Hex4(t.midAddress);
}

// The data answer a fault strikes: mid-read for a read, the first model-check answer otherwise.
std::string DataAnswer(const Transfer& t) {
  return std::to_string(t.kind == Kind::Read ? t.midCommand - 4 : 1);
}

using Args = std::vector<std::string>;
using SimArgs = std::function<Args(const Transfer&)>;

SimArgs Always(Args args) {
  return [args](const Transfer&) { return args; };
}
// `--<fault>-at` the mid-transfer request, and so on to the end.
SimArgs FromMid(const std::string& fault) {
  return [fault](const Transfer& t) {
    return Args{"--" + fault + "-at", std::to_string(t.midCommand), "--" + fault + "-count", "-1"};
  };
}
SimArgs AtMid(const std::string& option) {
  return [option](const Transfer& t) { return Args{option, std::to_string(t.midCommand)}; };
}
SimArgs AtData(const std::string& option) {
  return [option](const Transfer& t) { return Args{option, DataAnswer(t)}; };
}

struct Fault {
  std::string name;
  SimArgs sim;
  std::vector<std::string> messages;  // the message boxes, in order; {port} is the device
  int timeoutSeconds;                 // the link's documented waits the run sits out
  bool midTransfer = false;           // strikes inside the block loop
  bool interrupt = false;             // Ctrl+C once the mid-transfer request is out
  bool answersNothing = false;        // nor changes its rate: the tool's sync at 57600 is noise to it
};

const std::vector<Fault>& Faults() {
  const std::string comm = "Communication Error!!";
  static const std::vector<Fault> faults = {
      {"none", Always({}), {"Complete!!"}, 0},
      // Three pings of 1 s, the rate answer's 1 s, two passes of three #CMDSY of 10 s each.
      {"silent from the start", Always({"--no-ping-echo", "--silent-at", "1", "--silent-count", "-1"}), {}, 3 + 1 + 60,
       false, false, true},
      {"silent mid-transfer", FromMid("silent"), {comm}, 30, true},
      // qm47-cli answers the question with Cancel unless given --yes.
      {"\"ERROR\" from mid-transfer on", FromMid("error"), {"confirm the synchronization of the communication", comm}, 0,
       true},
      {"busy", Always({"--busy", "99"}), {"Radio is busy!!", "Radio not ready!!"}, 0},
      {"corrupt checksum", AtData("--corrupt-at"), {comm}, 0},
      {"wrong address", AtData("--wrong-address-at"), {"address error!!", comm}, 0},
      {"wrong length", AtData("--wrong-length-at"), {"data error!!", comm}, 0},
      // The rest of the frame is awaited for 10 s.
      {"frame cut off mid-line", AtData("--cut-at"), {"time out!!", comm}, 10},
      {"device vanishes mid-transfer", AtMid("--exit-at"), {"8020\r\rError reading comm device ({port} went away)"}, 0,
       true},
      {"wrong model code", Always({"--model-code", "520"}), {"ModelType Error !!"}, 0},
      // The radio holds the request unanswered until the interrupt.
      {"Ctrl+C mid-transfer", FromMid("silent"), {"cancelling\u2026"}, 0, true, true},
  };
  return faults;
}

struct Images {
  std::string fresh;  // the file a program transfer sends, and the tool's own fresh image
  std::string start;  // the radio: model 1's code, every other byte 0x5A, so each write shows
};

// What the radio holds after a complete transfer.
std::string Target(Kind kind, const Images& im) {
  std::string m = im.start;
  switch (kind) {
    case Kind::Read: break;
    case Kind::Program:
      m.replace(0x0002, 0x01FE, im.fresh, 0x0002, 0x01FE);
      m.replace(0x0300, 0x3300, im.fresh, 0x0300, 0x3300);
      break;
    case Kind::ClearMmsi: m[0x0085] = 0; break;
    case Kind::ClearDsc: m.replace(0x3600, 0x0700, 0x0700, '\xFF'); break;
    case Kind::ClearDistress:
      // 23 blocks of 32: 25 bytes cleared, then what the tool's image holds.
      for (std::size_t r = 0x3D00; r <= 0x3FC0; r += 32) {
        m.replace(r, 25, 25, '\xFF');
        m.replace(r + 25, 7, im.fresh, r + 25, 7);
      }
      break;
  }
  return m;
}

std::string RadioState(std::string memory, const std::string& start, const std::string& target) {
  if (memory.size() != start.size()) return "no memory dump";
  // No transfer writes the model code words; one cell's radio holds other ones.
  for (std::size_t at : {0x0000, 0x3FFE}) memory.replace(at, 2, start, at, 2);
  if (memory == start) return "unchanged";
  if (memory == target) return "complete";
  const std::size_t from = static_cast<std::size_t>(
      std::mismatch(memory.begin(), memory.end(), target.begin()).first - memory.begin());
  // Blocks go out in ascending order: what a broken transfer leaves is a prefix.
  if (memory.compare(from, std::string::npos, start, from, std::string::npos) == 0) {
    return "written below 0x" + Hex4(static_cast<int>(from));
  }
  return "damaged";
}

struct Expected {
  int exitCode;
  std::string file;
  std::string radio;
};

Expected Expect(const Fault& f, const Transfer& t) {
  const bool ok = f.name == "none";
  const bool writesBlocks = t.kind == Kind::Program || t.kind == Kind::ClearDsc || t.kind == Kind::ClearDistress;
  Expected e;
  e.exitCode = ok ? 0 : f.interrupt ? 130 : 1;
  e.file = t.kind == Kind::Read ? (ok ? "saved" : "none") : t.kind == Kind::Program ? "untouched" : "-";
  e.radio = ok && t.kind != Kind::Read ? "complete"
            : f.midTransfer && writesBlocks ? "written below 0x" + Hex4(t.midAddress)
                                            : "unchanged";
  return e;
}

struct Outcome {
  int exitCode = -1;
  std::vector<std::string> lines;  // standard error, the device shown as radio.pty
  std::string file;
  std::string radio;
  double seconds = 0;
  double limit = 0;
  std::vector<std::string> problems;
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
  return n;
}

Outcome RunCell(const Fault& f, const Transfer& t, const Images& images, const std::string& name) {
  Outcome o;
  CliFolder folder(name);
  const TempDir& dir = folder.dir;
  dir.Write("fresh.hex", images.fresh);
  dir.Write("start.bin", images.start);
  fs::create_directories(dir.path() / "home");
  const std::vector<std::string> before = Listing(dir.path());

  const double scale = f.timeoutSeconds > 0 ? kTimeScale : 1;
  std::vector<std::string> simArgs = {"--link", "radio.pty", "--no-throttle", "--trace",
                                      "--image", "start.bin", "--dump", "radio.mem"};
  for (auto& a : f.sim(t)) simArgs.push_back(a);
  std::vector<std::string> args = {"--data-dir", dir.path().string(), "--model", "1"};
  std::istringstream words(t.command);
  for (std::string w; words >> w;) args.push_back(w);
  {
    SimProcess sim(BinDir() + "/qm47-sim", dir.path().string(), simArgs, dir / "trace.txt");
    if (!sim.ok()) {
      o.problems.push_back("the simulator did not start");
      return o;
    }
    const int err = ::open((dir / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto started = std::chrono::steady_clock::now();
    CliProcess cli(dir, args, err, {"QM47_TEST_TIME_SCALE=" + std::to_string(static_cast<int>(scale))});
    ::close(err);
    if (f.interrupt && ToolSent(dir / "trace.txt", MidRequest(t), 30s)) cli.Signal(SIGINT);
    o.exitCode = cli.Wait(std::chrono::milliseconds(static_cast<int>(1000 * (f.timeoutSeconds / scale + 60))));
    o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  }  // the simulator stops here and dumps its memory

  const std::string trace = dir.Read("trace.txt");
  const int sends = Count(trace, "tool  > ");
  o.limit = (f.timeoutSeconds + kFixedPauseSeconds + kPauseSeconds * (sends + t.idleSteps)) / scale + kSlackSeconds;
  if (o.seconds > o.limit) o.problems.push_back("took longer than the documented waits allow");
  if (o.seconds < f.timeoutSeconds / scale) o.problems.push_back("ended before its time-outs had passed");
  // The simulator says so on exit when the tool sent anything at a rate it was not at.
  if (!f.answersNothing && trace.find("arrived at a rate the radio was not at") != std::string::npos) {
    o.problems.push_back("sent bytes at a rate the radio was not at");
  }

  o.lines = Lines(Replaced(dir.Read("stderr.txt"), (dir / "radio.pty"), "radio.pty"));
  o.radio = RadioState(dir.Read("radio.mem"), images.start, Target(t.kind, images));
  if (t.kind == Kind::Read) {
    o.file = !fs::exists(dir / "radio.hex")                  ? "none"
             : dir.Read("radio.hex").size() == images.fresh.size() ? "saved"
                                                             : "damaged";
  } else if (t.kind == Kind::Program) {
    o.file = dir.Read("fresh.hex") == images.fresh ? "untouched" : "changed";
  } else {
    o.file = "-";
  }
  // Nothing else is left behind: no temporary file, no stray backup.
  std::vector<std::string> after = Listing(dir.path());
  std::vector<std::string> made = {"radio.mem", "stderr.txt", "stdout.txt", "trace.txt"};
  if (o.file == "saved") made.push_back("radio.hex");
  std::vector<std::string> expected = before;
  expected.insert(expected.end(), made.begin(), made.end());
  std::sort(expected.begin(), expected.end());
  if (after != expected) o.problems.push_back("left other files behind");
  return o;
}

// Compares an outcome with what the documentation says, adding what differs to its problems.
void Check(const Fault& f, const Transfer& t, Outcome& o) {
  const Expected e = Expect(f, t);
  if (o.exitCode != e.exitCode) o.problems.push_back("exit status " + std::to_string(o.exitCode));
  if (o.file != e.file) o.problems.push_back("file " + o.file);
  if (o.radio != e.radio) o.problems.push_back("radio " + o.radio);
  for (std::size_t i = 0; i < f.messages.size(); ++i) {
    const std::string want = Replaced(f.messages[i], "{port}", "radio.pty");
    if (i >= o.lines.size() || o.lines[i] != want) o.problems.push_back("no message '" + want + "'");
  }
  const std::string word = t.command.substr(0, t.command.find(' '));
  const std::string last = o.lines.empty() ? "" : o.lines.back();
  if (e.exitCode == 0) {
    // A finished read adds its closing line; CliLink.Read_SavesTheRadiosSettingsInTheRadiosModel reads its words.
    if (o.lines.size() != f.messages.size() + (t.kind == Kind::Read ? 1 : 0)) {
      o.problems.push_back("more than the documented messages");
    }
  } else if (o.lines.size() <= f.messages.size() || last.rfind("qm47-cli " + word + ": ", 0) != 0) {
    o.problems.push_back("no closing line saying what failed");
  } else if (f.interrupt && last.find(": interrupted by ") == std::string::npos) {
    o.problems.push_back("the closing line does not say it was interrupted");
  }
}

std::string Cell(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) {
    std::string shown = Replaced(Replaced(line, "\r", "\\r"), "|", "\\|");
    out += (out.empty() ? "" : "<br>") + ("`" + shown + "`");
  }
  return out.empty() ? "(none)" : out;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string out;
  for (const auto& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

std::string Document(const std::vector<std::vector<Outcome>>& outcomes) {
  std::ostringstream d;
  d << "# Reliability: every transfer against every radio fault\n\n"
       "Written by the test `FaultMatrix.EveryTransferAgainstEveryFault`\n"
       "(`tests/cli/test_cli_fault_matrix.cpp`) each time it runs; do not edit it by hand.\n\n"
       "Each cell starts `qm47-sim` on a pseudo-terminal with one fault and runs one `qm47-cli`\n"
       "transfer of model 1 against it, as a person at a terminal would (no `--yes`, so questions\n"
       "are answered Cancel). The radio starts with model 1's code and every other byte 0x5A, so\n"
       "every byte a transfer writes shows. A cell checks the messages `qm47-cli` prints (the\n"
       "message boxes' texts, one per line, then its own line saying what failed), the exit\n"
       "status, the file left behind, the radio's memory afterwards (the simulator's `--dump`)\n"
       "and the time the run took.\n\n"
       "Time: the cells whose faults make the link sit out its time-outs (1 s for the ping and\n"
       "the rate answer, 10 s for an acknowledgement or a frame, three attempts each) run with\n"
       "`QM47_TEST_TIME_SCALE="
    << static_cast<int>(kTimeScale)
    << "`, a test-only setting that runs `qm47-cli`'s link clock that many\n"
       "times as fast (every deadline and pause alike; `qm47-sim` keeps no time with\n"
       "`--no-throttle`). Such a cell must last at least its time-outs divided by the scale, and\n"
       "at most that plus the link's documented pauses (10 ms before each request, 10 ms per idle\n"
       "step, 1.5 s of connect and settle pauses) plus "
    << kSlackSeconds
    << " s for starting the programs. All other cells\n"
       "run in real time within the same bound, so a time-out they should not wait for would\n"
       "show. The cells run in parallel.\n\n"
       "Mid-transfer faults strike the read request for 0x1FC0, the program request for 0x1A00,\n"
       "the MMSI clear's only request (0x0085), the DSC log clear's request for 0x3940 and the\n"
       "distress log clear's for 0x3E60. Faults in a data answer strike the read's answer for\n"
       "0x1FC0 and, in the other transfers, the model check's first answer (0x0000).\n\n"
       "Radio afterwards: `unchanged`, `complete` (what the finished transfer writes), or\n"
       "`written below 0xNNNN` (every request before the faulted one took effect, none after).\n"
       "File: for a read, the output file (`none` = no file at all, nor a temporary one); for a\n"
       "program, its input file (`untouched` = byte for byte as before).\n\n";
  for (std::size_t fi = 0; fi < Faults().size(); ++fi) {
    const Fault& f = Faults()[fi];
    d << "## " << Replaced(f.name, "\"", "") << "\n\n"
      << "Time-outs sat out: " << (f.timeoutSeconds ? std::to_string(f.timeoutSeconds) + " s" : "none") << "\n\n"
      << "| Transfer | qm47-sim faults | Messages | Exit | File | Radio afterwards | As documented |\n"
      << "|---|---|---|---|---|---|---|\n";
    for (std::size_t ti = 0; ti < Transfers().size(); ++ti) {
      const Transfer& t = Transfers()[ti];
      const Outcome& o = outcomes[fi][ti];
      const std::string faults = Joined(f.sim(t));
      d << "| `" << t.command.substr(0, t.command.find(" --port")) << "` | "
        << (faults.empty() ? "-" : "`" + faults + "`") << (f.interrupt ? " + SIGINT" : "") << " | " << Cell(o.lines)
        << " | " << o.exitCode << " | " << o.file << " | " << o.radio << " | "
        << (o.problems.empty() ? "yes" : "**no**: " + Replaced(Joined(o.problems), "|", "\\|")) << " |\n";
    }
    d << "\n";
  }
  return d.str();
}

// Into the build folder: a test run never changes the checkout.
void WriteDocument(const std::string& text) {
  std::ofstream out(fs::path(QM47_BUILD_DIR) / "reliability.md", std::ios::binary | std::ios::trunc);
  if (!(out << text)) std::cerr << "note: cannot write reliability.md in " << QM47_BUILD_DIR << "\n";
}

TEST(FaultMatrix, EveryTransferAgainstEveryFault) {
  Images images;
  {
    CliFolder folder("fault-images");
    const CliResult made = folder("--model 1 new fresh.hex");
    ASSERT_EQ(made.exitCode, 0) << made.err;
    images.fresh = folder.dir.Read("fresh.hex");
    ASSERT_EQ(images.fresh.size(), 16384u);
    images.start = images.fresh;
    images.start.replace(0x0002, 0x3FFC, 0x3FFC, '\x5A');
  }

  const std::size_t columns = Transfers().size();
  const std::size_t cells = Faults().size() * columns;
  std::vector<std::vector<Outcome>> outcomes(Faults().size(), std::vector<Outcome>(columns));
  std::atomic<std::size_t> next{0};
  // Each cell mostly waits on its programs; a few at a time keep both cores busy.
  std::vector<std::thread> workers;
  for (int w = 0; w < 10; ++w) {
    workers.emplace_back([&] {
      for (std::size_t i; (i = next++) < cells;) {
        const std::size_t fi = i / columns, ti = i % columns;
        outcomes[fi][ti] = RunCell(Faults()[fi], Transfers()[ti], images, "fault-" + std::to_string(i));
        Check(Faults()[fi], Transfers()[ti], outcomes[fi][ti]);
      }
    });
  }
  for (auto& w : workers) w.join();

  WriteDocument(Document(outcomes));
  for (std::size_t fi = 0; fi < Faults().size(); ++fi) {
    for (std::size_t ti = 0; ti < columns; ++ti) {
      const Outcome& o = outcomes[fi][ti];
      EXPECT_TRUE(o.problems.empty()) << Faults()[fi].name << " x " << Transfers()[ti].command << ": "
                                      << Joined(o.problems) << " (" << o.seconds << " s of at most " << o.limit
                                      << " s)\n"
                                      << Cell(o.lines);
    }
  }
}

}  // namespace
