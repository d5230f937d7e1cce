// The rate every byte leaves the port at, against a radio that hears only its own rate:
// a real port queues what it is given, and closing or re-opening it changes the rate at
// once, queued bytes or not.
#include "link_rig.h"

namespace qm47::linktest {
namespace {

constexpr const char* kOriginalSettings = "9600,N,8,1";  // what the port had before the program opened it

// A port with a driver queue: written bytes reach the radio only when the line drains,
// the tool waits for an answer, or the port is closed (then at the port's original rate).
class QueueingLine final : public ForwardingSerialLine {
 public:
  using ForwardingSerialLine::ForwardingSerialLine;

  std::optional<IoError> Open(const std::string& settings) override {
    Close();
    return line_.Open(settings);
  }
  void Close() override {
    if (!queue_.empty() && line_.IsOpen()) {
      line_.Open(kOriginalSettings);
      SendQueued();
    }
    queue_.clear();
    line_.Close();
  }
  std::optional<IoError> Write(std::span<const std::uint8_t> bytes) override {
    if (!line_.IsOpen()) return port_error::NotOpen();
    queue_.insert(queue_.end(), bytes.begin(), bytes.end());
    return std::nullopt;
  }
  void Drain() override { SendQueued(); }
  // An answer comes only after the request has left.
  std::size_t BytesWaiting() override {
    SendQueued();
    return line_.BytesWaiting();
  }
  bool WaitForInput(Clock::Duration max) override {
    SendQueued();
    return line_.WaitForInput(max);
  }

 private:
  void SendQueued() {
    if (queue_.empty()) return;
    const Bytes bytes = std::move(queue_);
    queue_.clear();
    line_.Write(bytes);
  }

  Bytes queue_;
};

struct RateRig : TransferRig {
  explicit RateRig(bool baud19200)
      : TransferRig(transfer_mode::Read, {.baud19200 = baud19200, .between = [](SerialLine& pipe) {
                                            return std::make_unique<QueueingLine>(pipe);
                                          }}) {}

  // One press of OK on a dialog of `mode` over the rig's link and radio.
  bool Run(int mode) {
    TransferDialog d(mode, link, transfers);
    d.Ok();
    return d.completed();
  }
};

// The rig fails the test on any byte that reached the radio at a rate it was not at.
TEST(LineRates, OneRadioTakesEveryTransferInTurnAtItsOwnRate) {
  for (const bool slow : {false, true}) {
    RateRig rig(slow);
    // The 19200-baud mode is for a radio that stays at 19200.
    if (slow) rig.radio.SetFaults({.slowOnly = true});
    rig.transfers.SetVerify(true);
    ASSERT_TRUE(rig.Run(transfer_mode::Read));
    rig.record.DscBasic.UserMmsi = "366123456";
    for (const int mode : {transfer_mode::Program, transfer_mode::ClearMmsi, transfer_mode::ClearDscLog,
                           transfer_mode::ClearDistressLog, transfer_mode::Read}) {
      ASSERT_TRUE(rig.Run(mode)) << "mode " << mode << (slow ? " at 19200: " : ": ")
                                 << ::testing::PrintToString(rig.ui.Texts());
      EXPECT_FALSE(rig.pipe.IsOpen());
    }
    EXPECT_EQ(rig.radio.rate(), slow ? 19200 : 57600);
    EXPECT_EQ(rig.record.DscBasic.UserMmsi.substr(0, 9), "366123456") << "the last read found what was programmed";
    // The read-back of the program ran on the connected port: no open at 9600 at all.
    for (const auto& settings : rig.pipe.opens()) EXPECT_NE(settings, "9600,N,8,1");
    // A read ends on the acknowledgement of its last block, and the port waits for it to leave.
    EXPECT_EQ(rig.radio.toolLines().back(), "#CMDOK");
  }
}

}  // namespace
}  // namespace qm47::linktest
