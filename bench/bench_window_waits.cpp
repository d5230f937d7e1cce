// How a window stays alive during a transfer: a read runs against the in-process radio
// paced at the real line rate, with every wait going through the event loop as the
// window's waits do. Reports the longest gap between two event-loop turns against its
// 50 ms bound, and how long a Cancel takes to stop the transfer against its 100 ms bound.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <deque>
#include <thread>

#include "editor/session/session.h"
#include "link/link.h"
#include "editor/radio/transfer_dialog.h"
#include "link/transfers.h"
#include "model/fresh_image.h"
#include "platform/event_loop_wait.h"
#include "sim/memory_pipe.h"
#include "sim/radio_engine.h"

namespace {

using namespace qm47;
using Steady = std::chrono::steady_clock;

constexpr double kGapBoundMs = 50;
constexpr double kCancelBoundMs = 100;
constexpr std::uint8_t kAbortByte = 0x18;

// Answers arrive as a real line at its rate would deliver them, one after the other.
class PacedLine final : public ForwardingSerialLine {
 public:
  explicit PacedLine(SerialLine& line) : ForwardingSerialLine(line) {}

  std::size_t BytesWaiting() override {
    Pull();
    std::size_t due = 0;
    for (const auto& b : queue_) {
      if (b.due > Steady::now()) break;
      ++due;
    }
    return due;
  }
  std::optional<std::uint8_t> ReadByte() override {
    if (BytesWaiting() == 0) return std::nullopt;
    const std::uint8_t b = queue_.front().byte;
    queue_.pop_front();
    return b;
  }
  std::optional<IoError> Write(std::span<const std::uint8_t> bytes) override {
    if (bytes.size() == 1 && bytes[0] == kAbortByte && !abortAt) abortAt = Steady::now();
    wireFree_ = std::max(Steady::now(), wireFree_) + ByteTime() * static_cast<int>(bytes.size());
    return line_.Write(bytes);
  }
  void FlushInput() override {
    queue_.clear();
    line_.FlushInput();
  }
  bool WaitForInput(Clock::Duration max) override {
    Pull();
    const auto until = Steady::now() + max;
    const auto next = queue_.empty() ? until : std::min(until, queue_.front().due);
    std::this_thread::sleep_until(next);
    return BytesWaiting() > 0;
  }

  std::optional<Steady::time_point> abortAt;

 private:
  struct Timed {
    std::uint8_t byte;
    Steady::time_point due;
  };
  Steady::duration ByteTime() const {
    const int baud = std::max(1, std::atoi(line_.Settings().c_str()));
    return std::chrono::microseconds(10'000'000 / baud);
  }
  void Pull() {
    while (line_.BytesWaiting() > 0) {
      const auto b = line_.ReadByte();
      if (!b) break;
      wireFree_ = std::max(Steady::now(), wireFree_) + ByteTime();
      queue_.push_back({*b, wireFree_});
    }
  }
  std::deque<Timed> queue_;
  Steady::time_point wireFree_{};
};

// The window's way of waiting, without a window.
class EventLoopUi final : public UserInterface {
 public:
  Answer Show(const MessageBox& box) override { return box.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel; }
  void ProcessEvents() override { ProcessPendingEvents(); }
  void Pause(int milliseconds) override { WaitProcessingEvents(milliseconds); }
};

struct Outcome {
  double longestGapMs = 0;
  double cancelMs = -1;
  bool completed = false;
};

// A read; with `cancelAfterMs` >= 0 the user presses Cancel that long after OK.
Outcome Read(int cancelAfterMs) {
  VirtualClock unused;
  MemoryImage fresh;
  MakeFreshImage(fresh, 1);
  sim::RadioEngine radio(fresh.bytes());
  radio.SetModelCode(*ModelCode(1));
  sim::MemoryPipe pipe(radio, unused);
  PacedLine line(pipe);
  EventLoopUi ui;
  PausingClock clock(ui);
  ErrorLog log("", false);
  Link link(line, clock, ui, log, LinkOptions{});
  MemoryImage image;
  SettingsRecord record;
  NewImageData(record, image, 1);
  const ModelDescriptor model = MakeDescriptor(1, true, true);
  Transfers transfers(link, image, record, model);
  TransferDialog dialog(transfer_mode::Read, link, transfers);

  Outcome out;
  QElapsedTimer since;
  QTimer turn;
  turn.setTimerType(Qt::PreciseTimer);
  turn.setInterval(1);
  QObject::connect(&turn, &QTimer::timeout, [&] {
    out.longestGapMs = std::max(out.longestGapMs, static_cast<double>(since.nsecsElapsed()) / 1e6);
    since.restart();
  });
  std::optional<Steady::time_point> cancelAt;
  if (cancelAfterMs >= 0) {
    QTimer::singleShot(cancelAfterMs, [&] {
      cancelAt = Steady::now();
      dialog.Cancel();
    });
  }
  since.start();
  turn.start();
  dialog.Ok();
  turn.stop();
  out.completed = dialog.completed();
  if (cancelAt && line.abortAt) {
    out.cancelMs = std::chrono::duration<double, std::milli>(*line.abortAt - *cancelAt).count();
  }
  return out;
}

void BM_WindowStaysAliveDuringARead(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "bench_window_waits";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  Outcome whole, cancelled;
  for (auto _ : state) {
    whole = Read(-1);
    cancelled = Read(4000);
  }
  if (!whole.completed) state.SkipWithError("the read did not complete");
  if (cancelled.cancelMs < 0) state.SkipWithError("the cancelled read sent no abort");
  state.counters["gap_per_bound"] = whole.longestGapMs / kGapBoundMs;
  state.counters["cancel_per_bound"] = cancelled.cancelMs / kCancelBoundMs;
  std::printf("longest gap between event-loop turns %.1f ms (bound %.0f ms, ratio %.2f); "
              "Cancel to abort byte %.1f ms (bound %.0f ms, ratio %.2f)\n",
              whole.longestGapMs, kGapBoundMs, whole.longestGapMs / kGapBoundMs, cancelled.cancelMs, kCancelBoundMs,
              cancelled.cancelMs / kCancelBoundMs);
}

BENCHMARK(BM_WindowStaysAliveDuringARead)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
