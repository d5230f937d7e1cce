// How soon the editor's window is on the screen and what it holds once started, against a
// bare QMainWindow of the same size started by this same program: each is a fresh process
// on an X server of the benchmark's own (Xvfb, as users measured; the inherited platform
// where there is none), timed from its launch to its first frame, five times in turn, on a
// first start and on a later one. Reports the median first paint over the bare window's
// against its bound 1.5, and the resident memory after the start (the load and its waits
// done) over the bare window's against its bound 1.3.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "editor/session/start_session.h"
#include "gui/main_window.h"
#include "gui/qt_user_interface.h"
#include "gui/start_warmup.h"
#include "platform/app_paths.h"
#include "platform/qsettings_preferences.h"

namespace {

using namespace qm47;
namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

constexpr double kPaintBound = 1.5;
constexpr double kMemoryBound = 1.3;
constexpr int kRounds = 5;

std::string BinDir() {
  if (const char* env = std::getenv("QM47_BIN_DIR")) return env;
  return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin").string();
}

long ResidentKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

// Says "painted" once the window's first expose has been handled, which draws its first
// frame, then runs `then`.
class FirstFrame final : public QObject {
 public:
  FirstFrame(QWidget& window, std::function<void()> then) : window_(window), then_(std::move(then)) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!said_ && event->type() == QEvent::Expose && watched == window_.windowHandle() &&
        window_.windowHandle()->isExposed()) {
      said_ = true;
      QMetaObject::invokeMethod(
          this,
          [this] {
            std::cout << "painted" << std::endl;
            if (then_) then_();
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  QWidget& window_;
  std::function<void()> then_;
  bool said_ = false;
};

void SayMemory() { std::cout << "rss " << ResidentKib() << std::endl; }

// One start, in a process of its own: "bare" (at the size given) or "qm47", as the programs
// start. The editor says its size, and closes as a user does, so its preferences keep it.
int Child(const std::string& kind, const std::string& size, int argc, char** argv) {
  QApplication app(argc, argv);
  std::optional<StartWarmup> warmup;
  if (kind != "bare") warmup.emplace();
  NameTheApplication();
  if (kind == "bare") {
    QMainWindow window;
    window.resize(std::atoi(size.c_str()), std::atoi(size.c_str() + size.find('x') + 1));
    // Its start is over with its first frame.
    FirstFrame frame(window, [] {
      SayMemory();
      QApplication::quit();
    });
    window.show();
    return QApplication::exec();
  }
  QApplication::setWindowIcon(ProgramIcon());
  StartupRequest request;
  request.dataFolder = BinDir();
  request.searchedFolders = {request.dataFolder};
  request.stateFolder = PlatformStateFolder();
  request.backupFolder = PlatformBackupFolder();
  QSettingsPreferenceStore prefs;
  QtUserInterface ui(prefs);
  const auto session = StartSession(request, prefs, ui);
  if (!session) return 1;
  MainWindow window(*session);
  ui.SetWindow(&window);
  FirstFrame frame(window, [&] { std::cout << "size " << window.width() << "x" << window.height() << std::endl; });
  QObject::connect(&window, &MainWindow::loaded, [&] {
    QTimer::singleShot(0, [&] {
      SayMemory();
      window.close();
      QApplication::quit();
    });
  });
  window.ShowThenLoad();
  return QApplication::exec();
}

struct Start {
  double paintMs = -1;
  long rssKib = -1;
  std::string size;  // the editor's, "800x591"
};

// Launches this program as `kind` with the preferences in `config`, and reads what it says.
Start Launch(const std::string& kind, const fs::path& config, const std::string& size = "607x444") {
  int out[2];
  if (::pipe(out) != 0) return {};
  const auto launched = Steady::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    ::execl(self.c_str(), self.c_str(), "--child", kind.c_str(), size.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  Start start;
  std::string said;
  char buffer[256];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
    said.append(buffer, static_cast<std::size_t>(n));
    if (start.paintMs < 0 && said.find("painted\n") != std::string::npos) {
      start.paintMs = std::chrono::duration<double, std::milli>(Steady::now() - launched).count();
    }
  }
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (const auto at = said.find("rss "); at != std::string::npos) start.rssKib = std::atol(said.c_str() + at + 4);
  if (const auto at = said.find("size "); at != std::string::npos) start.size = said.substr(at + 5, said.find('\n', at) - at - 5);
  return start;
}

// Xvfb on a display number it picks itself, for as long as this lives; no name when the
// machine has no Xvfb.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int number[2];
    if (::pipe(number) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(number[0]);
      const int devnull = ::open("/dev/null", O_WRONLY);
      ::dup2(devnull, STDERR_FILENO);
      const std::string fd = std::to_string(number[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(number[1]);
    std::string said;
    char c;
    while (::read(number[0], &c, 1) == 1 && c != '\n') said += c;
    ::close(number[0]);
    if (!said.empty()) name_ = ":" + said;
  }
  ~VirtualDisplay() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? -1 : values[values.size() / 2];
}

// Five starts of the editor, each followed by a bare window of its size. A first start has
// no preferences; a later one those its previous close left.
void FirstPaintAgainstABareWindow(benchmark::State& state, bool later) {
  const VirtualDisplay display;
  if (!display.name().empty()) {
    ::setenv("DISPLAY", display.name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
  const fs::path config = fs::temp_directory_path() / ("qm47-bench-config-" + std::to_string(::getpid()));
  fs::remove_all(config);
  if (later) Launch("qm47", config);
  std::vector<double> barePaint, ourPaint, bareRss, ourRss;
  for (auto _ : state) {
    for (int round = 0; round < kRounds; ++round) {
      if (!later) fs::remove_all(config);
      const Start ours = Launch("qm47", config);
      const Start bare = Launch("bare", config, ours.size);
      if (bare.paintMs < 0 || ours.paintMs < 0 || bare.rssKib < 0 || ours.rssKib < 0) {
        state.SkipWithError("a window did not start");
        fs::remove_all(config);
        return;
      }
      barePaint.push_back(bare.paintMs);
      ourPaint.push_back(ours.paintMs);
      bareRss.push_back(static_cast<double>(bare.rssKib));
      ourRss.push_back(static_cast<double>(ours.rssKib));
    }
  }
  fs::remove_all(config);
  const double paint = Median(ourPaint) / Median(barePaint);
  const double memory = Median(ourRss) / Median(bareRss);
  state.counters["paint_per_bound"] = paint / kPaintBound;
  state.counters["rss_per_bound"] = memory / kMemoryBound;
  std::printf("%s start on %s: first paint %.0f ms against a bare window's %.0f ms (ratio %.2f, bound %.1f); "
              "memory after start %.1f MiB against %.1f MiB (ratio %.2f, bound %.1f)\n",
              later ? "later" : "first", display.name().empty() ? qgetenv("QT_QPA_PLATFORM").constData() : "Xvfb",
              Median(ourPaint), Median(barePaint), paint, kPaintBound,
              Median(ourRss) / 1024, Median(bareRss) / 1024, memory, kMemoryBound);
}

void BM_FirstStartAgainstABareWindow(benchmark::State& state) { FirstPaintAgainstABareWindow(state, false); }
void BM_LaterStartAgainstABareWindow(benchmark::State& state) { FirstPaintAgainstABareWindow(state, true); }

BENCHMARK(BM_FirstStartAgainstABareWindow)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_LaterStartAgainstABareWindow)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::string(argv[1]) == "--child") return Child(argv[2], argv[3], argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
