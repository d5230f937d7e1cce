// End to end: qm47-cli talks to qm47-sim through a pseudo-terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <poll.h>

#include <filesystem>
#include <iterator>
#include <algorithm>
#include <regex>
#include <sstream>
#include <thread>

#include "cli_fixture.h"
#include "cli_process.h"
#include "sim_process.h"

namespace {

using namespace std::chrono_literals;
using qm47::testing::CliFolder;
using qm47::testing::CliProcess;
using qm47::testing::CliResult;
using qm47::testing::SimProcess;
using qm47::testing::TempDir;

// qm47-sim running in `dir`, reachable as dir/radio.pty, its memory saved to dir/radio.mem,
// what crosses the line traced to `tracePath` when one is named.
struct Sim : SimProcess {
  Sim(const TempDir& dir, std::vector<std::string> args, const std::string& tracePath = {})
      : SimProcess(qm47::testing::BinDir() + "/qm47-sim", dir.path().string(),
                   WithLink(std::move(args), !tracePath.empty()), tracePath) {}
  static std::vector<std::string> WithLink(std::vector<std::string> args, bool trace) {
    args.insert(args.begin(), {"--link", "radio.pty", "--save", "radio.mem", "--no-throttle"});
    if (trace) args.insert(args.begin(), "--trace");
    return args;
  }
};

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), {}};
}

struct Bench : CliFolder {
  Bench() : CliFolder("cli-link") {}
  std::string Memory() const { return dir.Read("radio.mem"); }
  // Transfers with their fixed pauses at ten times the speed.
  CliResult Fast(const std::string& args) const {
    return qm47::testing::RunIn(dir, "qm47-cli", DataDir() + args, "export QM47_TEST_TIME_SCALE=10; ");
  }
  // The words of a qm47-cli command line on this folder, for CliProcess.
  std::vector<std::string> Args(const std::string& words) const {
    std::vector<std::string> args{"--data-dir", dir.path().string()};
    for (auto& w : Words(words)) args.push_back(w);
    return args;
  }
};

bool SettingsAreasEqual(const std::string& a, const std::string& b) {
  return a.size() == 16384 && b.size() == 16384 && a.substr(0x0002, 0x01FE) == b.substr(0x0002, 0x01FE) &&
         a.substr(0x0300, 0x3300) == b.substr(0x0300, 0x3300);
}

std::string Repeated(const std::string& line, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += line;
  return out;
}

// A terminal of our own for qm47-cli's standard error: what a person would see.
struct Terminal {
  Terminal() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
    side = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  }
  ~Terminal() {
    CloseSide();
    if (master >= 0) ::close(master);
  }
  // Once the program holds it: the terminal ends with the program.
  void CloseSide() {
    if (side >= 0) ::close(side);
    side = -1;
  }
  // Reads what was shown until `text` appears, the program goes or `limit` passes.
  bool ReadUntil(const std::string& text, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (shown.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
      pollfd p{master, POLLIN, 0};
      char buf[512];
      if (::poll(&p, 1, 50) <= 0) continue;
      const ssize_t n = ::read(master, buf, sizeof buf);
      if (n <= 0) break;
      shown.append(buf, static_cast<std::size_t>(n));
    }
    return shown.find(text) != std::string::npos;
  }
  int master = -1;
  int side = -1;
  std::string shown;
};

// Every backup in the bench's private data folder, by name.
std::vector<std::filesystem::path> BackupFiles(const Bench& bench) {
  std::vector<std::filesystem::path> kept;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(bench.dir.path() / "home/.local/share/QM47/backups", ec)) {
    kept.push_back(e.path());
  }
  std::sort(kept.begin(), kept.end());
  return kept;
}

// The contents of every backup, oldest first.
std::vector<std::string> Backups(const Bench& bench) {
  std::vector<std::string> kept;
  for (const auto& path : BackupFiles(bench)) kept.push_back(bench.dir.Read(path.string()));
  return kept;
}

// Without --model a read takes the model the radio holds, not the catalogue's default, and
// says so, with where the file and its backup went, to a log as to a terminal.
TEST(CliLink, Read_SavesTheRadiosSettingsInTheRadiosModel) {
  Bench bench;
  ASSERT_EQ(bench("--model 3 new start.hex").exitCode, 0);
  Sim sim(bench.dir, {"--image", "start.hex"});
  ASSERT_TRUE(sim.ok());
  const CliResult r = bench("read --port radio.pty radio.hex");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::filesystem::path> kept = BackupFiles(bench);
  ASSERT_EQ(kept.size(), 1u) << r.err;
  EXPECT_EQ(r.err, "Complete!!\nqm47-cli read: the radio is a TK7100C (model 3); its settings are in radio.hex and "
                   "backed up in " + kept[0].string() + "\n");
  const std::string image = bench.dir.Read("radio.hex");
  const std::string start = bench.dir.Read("start.hex");
  EXPECT_EQ(image.substr(0, 2), start.substr(0, 2)) << "the model code";
  EXPECT_TRUE(SettingsAreasEqual(image, start));
}

// Where a read saves is checked before the radio is asked: the storage fault tests.
TEST(CliLink, Read_KeepsWhatTheRadioSentWhenTheSaveFailsAfterAll) {
  Bench bench;
  ASSERT_EQ(bench("--model 2 new start.hex").exitCode, 0);
  Sim sim(bench.dir, {"--image", "start.hex"});
  ASSERT_TRUE(sim.ok());
  // The disk fills up as the file is written.
  const CliResult r = qm47::testing::RunIn(bench.dir, "qm47-cli",
                                           bench.DataDir() + "--model 2 read --port radio.pty radio.dat",
                                           "unset XDG_DATA_HOME; trap '' XFSZ; ulimit -f 64; ");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.substr(0, 28), "Complete!!\nFileSave Error!!\n") << r.err;
  const std::vector<std::filesystem::path> kept = BackupFiles(bench);
  ASSERT_EQ(kept.size(), 1u) << r.err;
  EXPECT_TRUE(std::regex_match(kept[0].filename().string(), std::regex("TK520B-[0-9]{8}-[0-9]{6}\\.hex")));
  EXPECT_NE(r.err.find("qm47-cli read: what the radio sent is kept in " + kept[0].string()), std::string::npos)
      << r.err;
  // The backup of the read: all the radio held, byte for byte.
  EXPECT_EQ(Backups(bench), std::vector<std::string>{bench.dir.Read("start.hex")});
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliLink, Program_BacksTheRadioUpListsTheChangesAndVerifiesWhatItKept) {
  Bench bench;
  ASSERT_EQ(bench("--model 3 new start.hex").exitCode, 0);
  ASSERT_EQ(bench("--model 3 convert start.hex edited.dat").exitCode, 0);
  std::string dat = bench.dir.Read("edited.dat");
  const std::size_t tag = dat.find("ChTag=", dat.find("[CHUSA32]"));
  ASSERT_NE(tag, std::string::npos);
  dat.replace(tag, dat.find('\n', tag) - tag, "ChTag=#EDITED\r");
  bench.dir.Write("edited.dat", dat);
  ASSERT_EQ(bench("--model 3 convert edited.dat edited.hex").exitCode, 0);
  const std::string start = bench.dir.Read("start.hex");
  const std::string edited = bench.dir.Read("edited.hex");
  const auto at = std::mismatch(start.begin(), start.end(), edited.begin()).first - start.begin();
  ASSERT_LT(at, 0x3600);

  // The radio answers the write of the edited name but keeps the old bytes, once.
  Sim sim(bench.dir, {"--model", "3", "--image", "start.hex", "--drop-write-at", std::to_string(at)});
  ASSERT_TRUE(sim.ok());
  CliResult r = bench.Fast("--model 3 program --port radio.pty edited.dat");
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_TRUE(Has(r.err, "\nqm47-cli program: 1 setting changes in the radio (radio -> edited.dat):\n"
                         "[CHUSA32] ChTag: "))
      << r.err;
  EXPECT_FALSE(Has(r.err, "Complete!!")) << "the backup read is a step, and the program transfer did not complete";
  EXPECT_TRUE(Has(r.err, "program it again:\n[CHUSA32] ChTag: EDITED -> ")) << r.err;
  EXPECT_EQ(Backups(bench), std::vector<std::string>{start});

  r = bench.Fast("--model 3 verify --port radio.pty edited.dat");
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_TRUE(Has(r.err, "1 setting differs (edited.dat -> radio):\n[CHUSA32] ChTag: EDITED -> ")) << r.err;

  // Only the block the radio did not keep differs from what its backup read found.
  r = bench.Fast("--model 3 program --changed-only --port radio.pty edited.dat");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Has(r.err, "Complete!!\nqm47-cli program: wrote only what differs from the radio: 1 write of 273 (0x"))
      << r.err;
  EXPECT_TRUE(SettingsAreasEqual(bench.Memory(), edited));
  r = bench.Fast("--model 3 program --changed-only --verify=written --port radio.pty edited.dat");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Has(r.err, "qm47-cli program: Nothing differs from the radio as last read, so nothing is written or read "
                         "back.\nqm47-cli program: no setting changes in the radio\nThe radio already holds these "
                         "settings.\n"))
      << r.err;

  r = bench.Fast("--model 3 program --no-backup --port radio.pty edited.dat");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "Complete!!\n");
  EXPECT_TRUE(SettingsAreasEqual(bench.Memory(), edited));
  r = bench.Fast("--model 3 verify --port radio.pty edited.hex");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Backups(bench).size(), 5u) << "each read is kept";
}

// A file of one model and a radio of another: the refusal says which is which, and doing
// what it says ends in a programmed radio, not in advice to take the other --model back.
// Programming says "Complete!!" once, at its end; its backup read says where it went.
TEST(CliLink, Program_AFileForAnotherModelIsToldApartFromTheRadioWithoutLeadingInACircle) {
  Bench bench;
  ASSERT_EQ(bench("--model 1 new boat.dat").exitCode, 0);
  ASSERT_EQ(bench("--model 2 new start.hex").exitCode, 0);
  Sim sim(bench.dir, {"--image", "start.hex"});
  ASSERT_TRUE(sim.ok());

  CliResult r = bench.Fast("program --port radio.pty boat.dat");
  EXPECT_EQ(r.exitCode, 1);
  std::vector<std::string> lines = qm47::testing::Lines(r.err);
  ASSERT_GE(lines.size(), 2u) << r.err;
  EXPECT_EQ(lines[0], "ModelType Error !!");
  for (const std::string part : {"holds model 2 (TK520B)", "program a TK520B file into it", "'boat.dat' is for a TK4100A",
                                 "'qm47-cli read'"}) {
    EXPECT_TRUE(Has(lines[1], part)) << part << " in " << lines[1];
  }
  EXPECT_FALSE(Has(r.err, "--model")) << r.err;
  EXPECT_TRUE(Backups(bench).empty());

  r = bench.Fast("read --port radio.pty radio.dat");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::filesystem::path> read = BackupFiles(bench);
  r = bench.Fast("program --port radio.pty radio.dat");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::filesystem::path> kept = BackupFiles(bench);
  std::erase_if(kept, [&](const auto& p) { return std::find(read.begin(), read.end(), p) != read.end(); });
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(qm47::testing::Lines(r.err),
            (std::vector<std::string>{"qm47-cli program: the radio's settings are backed up in " + kept[0].string(),
                                      "qm47-cli program: no setting changes in the radio", "Complete!!"}));
}

// How many times the link tries, what --yes answers and when it gives up on a busy radio
// (without --yes, the fault matrix).
TEST(CliLink, RadioFaults_RetriedAndAnsweredAsTheOptionsSay) {
  Bench bench;
  const std::string confirm = "confirm the synchronization of the communication\n";
  struct Case {
    std::vector<std::string> faults;
    std::string options;
    int exitCode;
    std::string errStart;
  };
  // Commands of an MMSI clear: ACMD, two syncs, status, two model reads, then the write (7th).
  const std::vector<Case> cases = {
      {{"--error-at", "7", "--error-count", "2"}, "", 0, "Complete!!\n"},
      {{"--error-at", "7", "--error-count", "3"}, "--yes ", 0, confirm + "Complete!!\n"},
      {{"--busy", "10"}, "--yes ", 0, Repeated("Radio is busy!!\n", 10) + "Complete!!\n"},
      {{"--busy", "11"}, "--yes ", 1,
       Repeated("Radio is busy!!\n", 11) + "qm47-cli: giving up after 10 retries\nRadio not ready!!\n"},
  };
  // Port number 2 as the preferences map it, for one of them.
  bench.dir.Write("home/.config/QM47/QM47.conf", "[ComPath]\nPort2=" + (bench.dir / "radio.pty") + "\n");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    std::filesystem::remove(bench.dir / "radio.mem");
    Sim sim(bench.dir, c.faults);
    ASSERT_TRUE(sim.ok());
    const CliResult r = bench("--model 1 " + c.options + "clear mmsi --port " + (i == 2 ? "2" : "radio.pty"));
    EXPECT_EQ(r.exitCode, c.exitCode) << i << "\n" << r.err;
    EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart) << i;
    if (c.exitCode == 0) {
      EXPECT_EQ(r.err, c.errStart) << i;
    }
    // The radio saves its memory after each write it accepts.
    EXPECT_EQ(std::filesystem::exists(bench.dir / "radio.mem"), c.exitCode == 0) << i;
  }
}

// A port that is not there is the command line's test; the radio's own faults are the
// fault matrix's.
TEST(CliLink, PortWithoutPermission_IsReportedAsSuchWithTheGroupToJoin) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may open any device";
  // A pseudo-terminal of our own that only its group may use, as a serial port of the
  // dialout group is to someone outside it; then one closed to everybody.
  Terminal terminal;
  ASSERT_GE(terminal.side, 0);
  const std::string device = ::ptsname(terminal.master);
  struct stat st {};
  ASSERT_EQ(::stat(device.c_str(), &st), 0);
  const struct group* g = ::getgrgid(st.st_gid);
  ASSERT_NE(g, nullptr);
  const std::string group = g->gr_name;

  Bench bench;
  // Port number 2 as the preferences map it to the same device.
  bench.dir.Write("home/.config/QM47/QM47.conf", "[ComPath]\nPort2=" + device + "\n");
  const std::string denied = "Permission denied: you may not use " + device + "; ";
  for (const mode_t mode : {mode_t{S_IRGRP | S_IWGRP}, mode_t{0}}) {
    ASSERT_EQ(::chmod(device.c_str(), mode), 0);
    const std::string advice =
        mode == 0 || group == "root" ? "ask your administrator" : "join the group '" + group + "'";
    for (const std::string& port : {device, std::string("2")}) {
      const CliResult r = bench("--model 1 clear mmsi --port " + port);
      EXPECT_EQ(r.exitCode, 1) << port;
      EXPECT_EQ(r.err.substr(0, 24), "port inicialize error!!\n") << port;
      EXPECT_NE(r.err.find(denied + advice), std::string::npos) << r.err;
      EXPECT_EQ(r.err.find("in use"), std::string::npos) << r.err;
    }
  }
}

// fresh.hex of model 1, and blank.bin: a radio whose settings differ from it in every byte.
void WriteFreshFileAndBlankRadio(Bench& bench) {
  ASSERT_EQ(bench("--model 1 new fresh.hex").exitCode, 0);
  std::string blank = bench.dir.Read("fresh.hex");
  blank.replace(2, 0x3FFC, 0x3FFC, '\x5A');
  bench.dir.Write("blank.bin", blank);
}

// A signal at any stage of program ends it as Cancel does: the request in flight given up,
// no write after the signal, the exit status of the signal and a closing line on what the
// radio holds. Reads, clears and what a radio holds afterwards are the fault matrix's.
TEST(CliLink, Interrupt_AtEveryStageOfProgramWritesNothingAfterTheSignalAndSaysWhatTheRadioHolds) {
  Bench bench;
  WriteFreshFileAndBlankRadio(bench);  // a change list of thousands of lines
  struct Case {
    const char* stage;
    std::vector<std::string> faults;
    std::string options;
    std::string request;  // signalled once the radio has been sent this
    int signal;
    std::string closing;  // "" when standard error is a pipe nobody reads
  };
  const std::vector<Case> cases = {
      // Half-way, so a slow machine still signals before the read is over.
      {"the backup read", {}, "", "#CEPRD\\t2000", SIGINT, "SIGINT; the radio is unchanged"},
      {"the change list on a full pipe", {}, "", "#CEPRD\\t3FC0", SIGTERM, ""},
      {"the read-back", {}, "--no-backup ", "#CEPRD\\t0000\\t40", SIGHUP,
       "SIGHUP; every write reached the radio, but the check could not finish: verify it or program it again"},
      // The radio stops answering at its 20th command: ACMD, two syncs, status, two model reads, writes.
      {"a write the radio does not answer", {"--silent-at", "20", "--silent-count", "-1"}, "--no-backup ",
       "#CEPWR\\t000F", SIGTERM,
       "SIGTERM; the radio may be partly programmed: program it again (sent to it before it stopped: 0x0002-0x000F)"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> faults = {"--image", "blank.bin"};
    faults.insert(faults.end(), c.faults.begin(), c.faults.end());
    Sim sim(bench.dir, faults, bench.dir / "trace.txt");
    ASSERT_TRUE(sim.ok());
    int pipeEnds[2] = {-1, -1};
    if (c.closing.empty()) {
      ASSERT_EQ(::pipe(pipeEnds), 0);
    } else {
      pipeEnds[1] = ::open((bench.dir / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    CliProcess cli(bench.dir, bench.Args("--model 1 program " + c.options + "--port radio.pty fresh.hex"), pipeEnds[1]);
    ::close(pipeEnds[1]);
    ASSERT_TRUE(qm47::testing::ToolSent(bench.dir / "trace.txt", c.request, 20s)) << c.stage;
    // The full pipe: the backup read ends and the list fills the pipe.
    if (c.closing.empty()) std::this_thread::sleep_for(1500ms);
    const std::size_t signalledAt = bench.dir.Read("trace.txt").size();
    cli.Signal(c.signal);
    EXPECT_EQ(cli.Wait(15s), 128 + c.signal) << c.stage;
    const std::string trace = bench.dir.Read("trace.txt");
    EXPECT_EQ(trace.find("tool  > #CEPWR", signalledAt), std::string::npos) << c.stage;
    if (c.closing.empty()) {
      ::close(pipeEnds[0]);
      continue;
    }
    EXPECT_EQ(bench.dir.Read("stderr.txt"), "cancelling\u2026\nqm47-cli program: interrupted by " + c.closing + "\n")
        << c.stage;
    // The abort byte sent and the radio's confirmation taken.
    EXPECT_NE(trace.find("tool  > \\x18  @57600\nradio < \\x06  @57600", trace.find(c.request)), std::string::npos) << c.stage;
  }
}

// On a terminal the bar is redrawn in place after CR and every message starts on a line of
// its own, ended by CR LF. The bar steps through the addresses a clear does not write too
// (what each clear writes is the fault matrix's), and a silent radio is shown as waited for.
TEST(CliLink, Terminal_ShowsTheBarMovingAndASilentRadioAndStartsEveryMessageOnALineOfItsOwn) {
  Bench bench;
  {
    Sim sim(bench.dir, {});
    ASSERT_TRUE(sim.ok());
    Terminal terminal;
    ASSERT_GE(terminal.side, 0);
    CliProcess cli(bench.dir, bench.Args("--model 1 clear distress-log --port radio.pty"), terminal.side);
    terminal.CloseSide();
    terminal.ReadUntil("Complete!!\r\n", 20s);
    ASSERT_EQ(cli.Wait(5s), 0) << terminal.shown;
    const std::string& shown = terminal.shown;
    EXPECT_EQ(shown.find("waiting"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\r 50% (50/100)"), std::string::npos) << shown;
    const std::string end = "\r100% (100/100)        \r\nComplete!!\r\n";
    ASSERT_GE(shown.size(), end.size()) << shown;
    EXPECT_EQ(shown.substr(shown.size() - end.size()), end);
  }
  Sim sim(bench.dir, {"--silent-at", "2", "--silent-count", "-1"});  // no answer to #CMDSY
  ASSERT_TRUE(sim.ok());
  Terminal terminal;
  ASSERT_GE(terminal.side, 0);
  CliProcess cli(bench.dir, bench.Args("--model 1 clear mmsi --port radio.pty"), terminal.side);
  terminal.CloseSide();
  ASSERT_TRUE(terminal.ReadUntil("waiting for the radio\u2026", 10s)) << terminal.shown;
  cli.Signal(SIGINT);
  terminal.ReadUntil("unchanged\r\n", 10s);
  EXPECT_EQ(cli.Wait(5s), 130);
  const std::string& shown = terminal.shown;
  const std::size_t firstEnd = shown.find("\r\n");
  ASSERT_NE(firstEnd, std::string::npos) << shown;
  EXPECT_EQ(shown.substr(0, 13), "\r  0% (0/100)") << shown;
  EXPECT_EQ(shown.substr(0, firstEnd).substr(shown.rfind('\r', firstEnd - 1)), "\rwaiting for the radio\u2026");
  EXPECT_EQ(shown.substr(firstEnd),
            "\r\ncancelling\u2026\r\n"
            "qm47-cli clear: interrupted by SIGINT; the radio is unchanged\r\n");
}

}  // namespace
