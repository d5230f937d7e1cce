// Every kind of file qm47-cli saves, into every storage fault: a full file system, a
// read-only folder, a name that is a folder and a read-only file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_fixture.h"
#include "sim_process.h"

namespace {

using namespace qm47::testing;
namespace fs = std::filesystem;

struct Saver {
  std::string ext;
  std::string command;  // {out} is the file saved
  bool fromRadio = false;
};

enum class Setup { FullFileSystem, ReadOnlyFolder, Folder, ReadOnlyFile };

struct Fault {
  Setup setup;
  std::string name;
  std::string reason;      // the system's words, on the detail line
  std::string txtMessage;  // what a report save shows for it
};

// Runs `script` with sh, in a private mount namespace when `isolated`; its exit status.
int RunScript(const std::string& script, bool isolated) {
  const std::string unshare = ::geteuid() == 0 ? "unshare -m " : "unshare -rm ";
  const int status = std::system(((isolated ? unshare : "") + "sh " + Quote(script)).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// True when this machine lets us mount a small file system of our own (root, or a user
// namespace); then a full disk and a read-only folder are real ones.
bool CanMount(const TempDir& dir) {
  fs::create_directories(dir.path() / "probe");
  dir.Write("probe.sh", "mount -t tmpfs -o size=16k tmpfs " + Quote(dir / "probe") + " 2>/dev/null\n");
  return RunScript(dir / "probe.sh", true) == 0;
}

TEST(CliStorage, EverySaveIntoEveryStorageFault_SaysWhyAndKeepsThePreviousFile) {
  CliFolder cli("storage");
  const TempDir& dir = cli.dir;
  ASSERT_EQ(cli("--model 1 new settings.dat").exitCode, 0);
  const bool mounts = CanMount(dir);
  const bool root = ::geteuid() == 0;

  const std::vector<Saver> savers = {
      {".dat", "new {out}"},
      {".hex", "convert settings.dat {out}"},
      {".txt", "report settings.dat {out}"},
      {".dat", "read --port radio.pty {out}", true},
  };
  // Without a mount of our own, a file-size limit stands in for the full disk and the
  // folder's write bits for the read-only folder (which root ignores).
  const std::vector<Fault> faults = {
      mounts ? Fault{Setup::FullFileSystem, "full file system", "No space left on device", "Disk full"}
             : Fault{Setup::FullFileSystem, "file-size limit", "File too large", "Path/File access error"},
      {Setup::ReadOnlyFolder, "read-only folder", mounts ? "Read-only file system" : "Permission denied",
       "Permission denied"},
      {Setup::Folder, "name of a folder", "Is a directory", "Path/File access error"},
      {Setup::ReadOnlyFile, "read-only file", "Permission denied", "Permission denied"},
  };

  int skipped = 0;
  for (const Fault& fault : faults) {
    if (fault.setup == Setup::ReadOnlyFolder && !mounts && root) {
      ++skipped;
      continue;
    }
    for (const Saver& saver : savers) {
      const std::string cell = fault.name + " x " + saver.command + " (" + saver.ext + ")";
      const std::string kept = "kept" + saver.ext;
      const fs::path box = dir.path() / "box", stage = dir.path() / "stage", after = dir.path() / "after";
      for (const auto& p : {box, stage, after}) {
        fs::remove_all(p);
        fs::create_directories(p);
      }
      // What the folder holds before the save, staged outside any mount.
      if (fault.setup == Setup::Folder) {
        fs::create_directories(stage / kept);
        std::ofstream(stage / kept / "inside") << "previous";
      } else {
        std::ofstream(stage / kept) << "previous";
        if (fault.setup == Setup::ReadOnlyFile) fs::permissions(stage / kept, fs::perms::owner_read | fs::perms::group_read);
      }

      const bool isolated = mounts && (fault.setup == Setup::FullFileSystem || fault.setup == Setup::ReadOnlyFolder);
      std::string args = saver.command;
      args.replace(args.find("{out}"), 5, "box/" + kept);
      std::ostringstream s;
      s << "cd " << Quote(dir.path().string()) << "\n"
        << "export HOME=" << Quote(dir / "home") << " XDG_CONFIG_HOME=" << Quote(dir / "home/.config")
        << " QM47_TEST_TIME_SCALE=100\nunset XDG_DATA_HOME\n";
      if (isolated && fault.setup == Setup::FullFileSystem) s << "mount -t tmpfs -o size=64k tmpfs box || exit 99\n";
      s << "cp -a stage/. box/\n";
      std::string limit;
      switch (fault.setup) {
        case Setup::FullFileSystem:
          if (mounts) s << "dd if=/dev/zero of=box/filler bs=1024 2>/dev/null\n";
          else limit = "trap '' XFSZ; ulimit -f 2; ";  // 1 KiB, in blocks of 512 bytes
          break;
        case Setup::ReadOnlyFolder:
          // Bound onto itself, the folder can be made read-only even inside a user namespace.
          s << (mounts ? "mount --bind box box && mount -o remount,bind,ro box || exit 99\n" : "chmod a-w box\n");
          break;
        default: break;
      }
      s << "(" << limit << "exec " << Quote(BinDir() + "/qm47-cli") << " " << cli.DataDir() << "--model 1 " << args
        << ") >stdout.txt 2>stderr.txt </dev/null\nrc=$?\n"
        << "chmod u+w box 2>/dev/null\ncp -a box/. after/\nexit $rc\n";
      dir.Write("run.sh", s.str());

      // The radio a read would ask; no other save goes near it.
      const SimProcess radio(BinDir() + "/qm47-sim", dir.path().string(),
                             {"--link", "radio.pty", "--no-throttle", "--trace"}, dir / "trace.txt");
      ASSERT_TRUE(radio.ok()) << cell;
      const int rc = RunScript(dir / "run.sh", isolated);
      const std::string trace = dir.Read("trace.txt");
      ASSERT_NE(rc, 99) << cell << ": could not mount although the probe could";

      EXPECT_EQ(rc, 1) << cell;
      const std::string message = saver.ext == ".txt" ? fault.txtMessage : "FileSave Error!!";
      const std::vector<std::string> lines = Lines(dir.Read("stderr.txt"));
      // A read finds out about a full disk only once the radio has sent everything, which
      // is then kept elsewhere; the other faults it sees before asking the radio anything.
      const bool readThenSave = saver.fromRadio && fault.setup == Setup::FullFileSystem;
      const std::size_t at = readThenSave ? 1 : 0;
      ASSERT_EQ(lines.size(), at + (readThenSave ? 3 : 2)) << cell << "\n" << dir.Read("stderr.txt");
      EXPECT_EQ(lines[at], message) << cell;
      for (const std::string& part : {"'" + kept + "'", "'" + box.string() + "'", fault.reason}) {
        EXPECT_NE(lines[at + 1].find(part), std::string::npos) << cell << ": no " << part << " in " << lines[at + 1];
      }
      if (readThenSave) {
        EXPECT_EQ(lines[0], "Complete!!") << cell;
        // Kept in the per-user folder; under a file-size limit, that copy fails too and says so.
        EXPECT_EQ(lines[3].rfind("qm47-cli read: what the radio sent is ", 0), 0u) << cell;
      } else if (saver.fromRadio) {
        EXPECT_NE(lines[1].find("The radio was not read."), std::string::npos) << cell;
        EXPECT_EQ(trace.find("tool  >"), std::string::npos) << cell << ": the radio was asked";
      }

      // The previous file or folder as it was, and nothing else left beside it.
      std::vector<std::string> expected = {kept};
      if (isolated && fault.setup == Setup::FullFileSystem) expected.insert(expected.begin(), "filler");
      EXPECT_EQ(Listing(after), expected) << cell;
      if (fault.setup == Setup::Folder) {
        EXPECT_EQ(dir.Read("after/" + kept + "/inside"), "previous") << cell;
      } else {
        EXPECT_EQ(dir.Read("after/" + kept), "previous") << cell;
      }
    }
  }
  if (skipped) GTEST_SKIP() << "root cannot make a read-only folder without mounting one, which this machine refuses";
}

}  // namespace
