// The rate every byte leaves the port at: a real port queues what it is given, and
// closing or re-opening it changes the rate at once, queued bytes or not.
#include "link_rig.h"

namespace qm47::linktest {
namespace {

constexpr int kOriginalRate = 9600;  // what the port had before the program opened it

// A port with a driver queue: written bytes wait until the line drains, the tool waits
// for an answer, or the port is closed (then they go at the port's original rate).
class QueueingLine final : public ForwardingSerialLine {
 public:
  struct Sent {
    std::uint8_t byte;
    int writtenAt;
    int sentAt;
  };

  using ForwardingSerialLine::ForwardingSerialLine;

  std::optional<IoError> Open(const std::string& settings) override {
    Close();
    auto fault = line_.Open(settings);
    if (!fault) rate_ = std::stoi(settings);
    return fault;
  }
  void Close() override {
    SendQueued(kOriginalRate);
    rate_ = kOriginalRate;
    line_.Close();
  }
  std::optional<IoError> Write(std::span<const std::uint8_t> bytes) override {
    for (std::uint8_t b : bytes) queue_.push_back({b, rate_, 0});
    return line_.Write(bytes);
  }
  void Drain() override { SendQueued(rate_); }
  // An answer comes only after the request has left.
  std::size_t BytesWaiting() override {
    SendQueued(rate_);
    return line_.BytesWaiting();
  }
  bool WaitForInput(Clock::Duration max) override {
    SendQueued(rate_);
    return line_.WaitForInput(max);
  }

  const std::vector<Sent>& sent() const { return sent_; }

 private:
  void SendQueued(int rate) {
    for (Sent s : queue_) sent_.push_back({s.byte, s.writtenAt, rate});
    queue_.clear();
  }

  int rate_ = kOriginalRate;
  std::vector<Sent> queue_;
  std::vector<Sent> sent_;
};

struct RateRig : TransferRig {
  explicit RateRig(int mode)
      : TransferRig(mode, {.between = [](SerialLine& pipe) { return std::make_unique<QueueingLine>(pipe); }}) {}

  const std::vector<QueueingLine::Sent>& sent() const { return static_cast<const QueueingLine&>(*line).sent(); }
  std::string SentText(std::size_t last) const {
    std::string text;
    for (std::size_t i = sent().size() - std::min(last, sent().size()); i < sent().size(); ++i)
      text.push_back(static_cast<char>(sent()[i].byte));
    return text;
  }
};

TEST(LineRates, EveryByteLeavesAtTheRateItWasWrittenAt) {
  for (const int mode : {transfer_mode::Read, transfer_mode::Program, transfer_mode::ClearMmsi}) {
    RateRig rig(mode);
    rig.dialog.Ok();
    ASSERT_TRUE(rig.success()) << "mode " << mode;
    ASSERT_FALSE(rig.pipe.IsOpen());
    int wrong = 0;
    for (const auto& s : rig.sent()) wrong += s.sentAt != s.writtenAt ? 1 : 0;
    EXPECT_EQ(wrong, 0) << "mode " << mode;
    // The transfer's last word to the radio, at the fast rate.
    EXPECT_EQ(rig.sent().back().sentAt, 57600) << "mode " << mode;
  }
  // A read ends on the acknowledgement of its last block, with nothing read after it.
  RateRig read(transfer_mode::Read);
  read.dialog.Ok();
  EXPECT_EQ(read.SentText(8), "#CMDOK\r\n");
}

}  // namespace
}  // namespace qm47::linktest
