// The link against the in-process virtual radio, on a virtual clock, with a user who
// answers from a script: every time-out and retry runs in no time.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/link.h"
#include "editor/radio/transfer_dialog.h"
#include "link/transfers.h"
#include "model/codec.h"
#include "model/fresh_image.h"
#include "model/models.h"
#include "recording_ui.h"
#include "sim/memory_pipe.h"
#include "sim/radio_engine.h"
#include "temp_dir.h"
#include "virtual_radio.h"

namespace qm47::linktest {

using namespace std::chrono_literals;

class LinkUi : public qm47::testing::RecordingUi {
 public:
  void Progress(int value, int /*maximum*/) override { progress.push_back(value); }
  std::vector<int> progress;
};

using Strings = std::vector<std::string>;

inline Bytes Ascii(std::string_view text) { return Bytes(text.begin(), text.end()); }

// An answer filter: the radio says `text` to everything instead.
inline std::function<Bytes(const Bytes&)> AlwaysAnswer(std::string text) {
  return [t = std::move(text)](const Bytes&) { return Ascii(t); };
}

inline std::string TestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

struct RigOptions {
  int model = 1;
  bool debug = false;
  bool baud19200 = false;
  // A line of the test's own between the link and the radio's pipe.
  std::function<std::unique_ptr<SerialLine>(SerialLine&)> between = nullptr;
};

struct LinkRig {
  explicit LinkRig(RigOptions o = {})
      : options(o),
        radio(testing::VirtualRadio::Fresh(o.model)),  // the model's fresh settings and code
        pipe(radio, clock, "/dev/ttyTEST"),
        dir("link-" + std::to_string(std::hash<std::string>{}(TestName()))),
        log(dir / "err.log", o.debug),
        line(o.between ? o.between(pipe) : nullptr),
        link(line ? *line : static_cast<SerialLine&>(pipe), clock, ui, log, LinkOptions{o.debug, o.baud19200, 3}) {
    link.SetCaption("Read from Radio");
  }
  // The radio is as strict as a real one: a byte sent at a rate it is not at fails the test.
  ~LinkRig() {
    if (!allowStrayBytes) {
      EXPECT_EQ(radio.strayBytes(), 0u) << radio.StrayReport();
    }
  }
  LinkRig(const LinkRig&) = delete;
  LinkRig& operator=(const LinkRig&) = delete;

  // The lines the tool sent, CR LF removed; single bytes (ping, abort) as they are.
  std::vector<std::string> Sent() const {
    std::vector<std::string> lines;
    std::string cur;
    for (std::uint8_t b : pipe.written()) {
      if (cur.empty() && (b == 'P' || b == '0' || b == kCan)) {
        lines.emplace_back(1, static_cast<char>(b));
        continue;
      }
      if (b == kLf) continue;
      if (b == kCr) {
        lines.push_back(cur);
        cur.clear();
        continue;
      }
      cur.push_back(static_cast<char>(b));
    }
    return lines;
  }
  int CountSent(const std::string& prefix) const {
    int n = 0;
    for (const auto& l : Sent()) n += l.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
  }
  Clock::Duration Elapsed() const {
    return std::chrono::duration_cast<Clock::Duration>(clock.Now() - Clock::TimePoint{});
  }
  // Opens the line at the fast rate as a connect would leave it, the radio switched too.
  void OpenFast() {
    radio.SwitchToFastRate();
    ASSERT_FALSE(pipe.Open("57600,N,8,1").has_value());
  }
  std::string ErrorLogText() const { return dir.Read("err.log"); }

  RigOptions options;
  bool allowStrayBytes = false;  // for the tests of a line at the wrong rate
  VirtualClock clock;
  sim::RadioEngine radio;
  sim::MemoryPipe pipe;
  LinkUi ui;
  qm47::testing::TempDir dir;
  ErrorLog log;
  std::unique_ptr<SerialLine> line;
  Link link;
};

// A link already at the fast rate, as a connect leaves it.
struct FastRig : LinkRig {
  explicit FastRig(RigOptions o = {}) : LinkRig(o) { OpenFast(); }
};

// A whole transfer: the editor's image and record of the model, the dialog and its OK.
struct TransferRig : LinkRig {
  explicit TransferRig(int mode, RigOptions o = {})
      : LinkRig(o),
        model(MakeDescriptor(o.model, o.model <= 2, o.model == 1 || o.model == 3)),
        transfers(link, image, record, model),
        dialog(mode, link, transfers) {
    NewImageData(record, image, o.model);
  }

  ModelDescriptor model;
  MemoryImage image;
  SettingsRecord record;
  // The last press of OK ended with "Complete!!".
  bool success() const { return dialog.completed(); }
  Transfers transfers;
  TransferDialog dialog;
};

}  // namespace qm47::linktest
