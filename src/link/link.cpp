#include "link/link.h"
#include "model/text.h"

#include <algorithm>
#include <cctype>

namespace qm47 {

using namespace std::chrono_literals;
using namespace link_text;

namespace {

constexpr Clock::Duration kWritePause = 10ms;
constexpr Clock::Duration kStatusPause = 500ms;
constexpr Clock::Duration kSyncPause = 1000ms;
constexpr Clock::Duration kShortWait = 1s;
constexpr Clock::Duration kLongWait = 10s;
// Longest a reader blocks on the port before it lets the window breathe again.
constexpr Clock::Duration kWaitSlice = 20ms;
// After the last byte's wire time, before the rate may change: a USB adapter's own
// buffer and the far end of a pseudo-terminal need a moment more.
constexpr Clock::Duration kSentGuard = 20ms;

// 57600 from "57600,N,8,1"; 0 when the text names no rate.
int BaudOf(const std::string& settings) {
  int baud = 0;
  for (char c : settings) {
    if (c < '0' || c > '9') break;
    baud = baud * 10 + (c - '0');
    if (baud > 10'000'000) return 0;
  }
  return baud;
}


const char* StatusWords(LinkStatus s) {
  switch (s) {
    case LinkStatus::Ok: return "acknowledged";
    case LinkStatus::Cancelled: return "cancelled";
    case LinkStatus::TimedOut:
      return "no answer from the radio within 10 s; check that it is on, still shows UART and the cable is in";
    case LinkStatus::ErrorReply: return "the radio answered ERROR";
    case LinkStatus::Unexpected: return "the radio's answer was not #CMDOK";
  }
  return "";
}

}  // namespace

std::string AddressText(Address a) { return "0x" + HexField(static_cast<unsigned>(a), 4); }

std::string PortFailureDetail(const std::string& device, const IoError& fault) {
  std::string detail = fault.description;
  if (detail.find(device) == std::string::npos) detail = device + ": " + detail;
  switch (fault.number) {
    case 70:  // the description says which group to join, or whom to ask
      return detail + ".";
    case 8005:
      return detail + ". Close the program that holds it (a terminal program, another QM47) and try again.";
    case 8002:  // no device there, or none the system can use
      return detail + ". Check that the programming cable and its USB adapter are plugged in, and that the port is "
                      "one 'qm47-cli ports' lists.";
    default:
      return detail + ". Check that the programming cable is plugged in and that the serial port chosen is the "
                      "one it is on.";
  }
}

namespace port_error {
IoError NotOpen() { return {8018, "Operation valid only when the port is open"}; }
IoError InvalidSettings(const std::string& settings) {
  return {8015, "Could not set comm state (" + settings + ")"};
}
}  // namespace port_error

Link::Link(SerialLine& line, Clock& clock, UserInterface& ui, const ErrorLog& log, LinkOptions options)
    : line_(line), clock_(clock), ui_(ui), log_(log), options_(options) {}

void Link::ShowStatus(const std::string& text) {
  if (!options_.debugMode) return;
  ui_.Monitor(text);
  clock_.Sleep(kStatusPause);
}

void Link::ClearStatus() {
  if (options_.debugMode) ui_.Monitor("");
}

void Link::ShowProgress(int percent) { ui_.Progress(std::clamp(percent, 0, 100), 100); }

Answer Link::Message(const std::string& text, Icon icon, Buttons buttons) {
  ++messagesShown_;
  return ui_.Message(text, caption_, icon, buttons);
}

// ---- port ----

bool Link::OpenPort(const char* settings, const char* source, bool showSettings) {
  openFault_.reset();
  if (auto fault = line_.Open(settings)) {
    log_.WriteErrorLog(source, *fault);
    openFault_ = fault;
    Diagnose("could not open " + line_.Name() + " at " + settings + ": " + fault->description);
    return false;
  }
  if (showSettings) ShowStatus(line_.Settings());
  return true;
}

bool Link::PortFailed() {
  ++messagesShown_;
  ui_.MessageWithDetail(kPortInitError, PortFailureDetail(line_.Name(), openFault_.value_or(IoError{})), caption_,
                        Icon::Critical, Buttons::Ok);
  return false;
}

bool Link::PortInit() {
  if (line_.IsOpen()) WaitUntilSent();
  PortClose();
  return OpenPort(kSettingsConnect, "frmRadio.PortInit", true);
}

bool Link::PortInitCP() {
  if (line_.IsOpen()) WaitUntilSent();
  PortClose();
  return OpenPort(options_.baud19200 ? kSettingsConnect : kSettingsFast, "frmRadio.PortInitCP", true);
}

bool Link::PortOpen() {
  if (line_.IsOpen()) return true;
  return OpenPort(kSettingsSlow, "frmRadio.PortOpen", false);
}

void Link::PortClose() {
  if (!line_.IsOpen()) return;
  // The last acknowledgement of a read is still on its way: it must leave at this rate.
  WaitUntilSent();
  line_.Close();
}

void Link::WaitUntilSent() {
  line_.Drain();
  const auto until = sentBy_ + kSentGuard;
  const auto now = clock_.Now();
  if (until > now) clock_.Sleep(std::chrono::ceil<Clock::Duration>(until - now));
}

void Link::FlushInput() {
  if (line_.IsOpen()) line_.FlushInput();
}

void Link::RequireOpen() const {
  if (!line_.IsOpen()) throw LinkFault{port_error::NotOpen()};
}

// ---- senders ----

void Link::Send(std::span<const std::uint8_t> bytes) {
  clock_.Sleep(kWritePause);
  RequireOpen();
  if (auto fault = line_.Write(bytes)) throw LinkFault{*fault};
  if (const int baud = BaudOf(line_.Settings()); baud > 0) {
    const auto wire = std::chrono::nanoseconds(static_cast<long long>(bytes.size()) * 10'000'000'000LL / baud);
    sentBy_ = std::max(sentBy_, clock_.Now()) + wire;
  }
}

void Link::SendByte(std::uint8_t byte) {
  RequireOpen();
  FlushInput();
  Send(std::span(&byte, 1));
}

void Link::SendLine(std::string_view text) {
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(kCr);
  bytes.push_back(kLf);
  Send(bytes);
}

void Link::SendRateCommand(std::string_view text) {
  if (text.size() != 8) return;
  SendLine(text);
}

void Link::SendFrame(const Bytes& frame) { Send(frame); }

// ---- readers ----

std::optional<std::uint8_t> Link::Turn(Clock::TimePoint deadline) {
  ui_.ProcessEvents();
  RequireOpen();
  if (line_.BytesWaiting() > 0) {
    // An answer means the radio heard what was written before it: that much has left.
    sentBy_ = std::min(sentBy_, clock_.Now());
    return line_.ReadByte();
  }
  const auto left = std::chrono::duration_cast<Clock::Duration>(deadline - clock_.Now()) + 1ms;
  if (!line_.WaitForInput(std::clamp<Clock::Duration>(left, 1ms, kWaitSlice))) {
    if (auto fault = line_.Fault()) throw LinkFault{*fault};
  }
  return std::nullopt;
}

LinkStatus Link::WaitByte(std::uint8_t expected, Clock::Duration timeout, bool cancellable) {
  const auto deadline = clock_.Now() + timeout;
  for (;;) {
    const auto byte = Turn(deadline);
    if (cancellable && cancelRequested_) return LinkStatus::Cancelled;
    if (Late(deadline)) return LinkStatus::TimedOut;
    if (byte && *byte == expected) return LinkStatus::Ok;
  }
}

LineRead Link::ReadChars(std::size_t count, Clock::Duration timeout) {
  const auto deadline = clock_.Now() + timeout;
  LineRead r;
  for (;;) {
    if (const auto byte = Turn(deadline)) r.text.push_back(static_cast<char>(*byte));
    if (cancelRequested_) return r.status = LinkStatus::Cancelled, r;
    if (Late(deadline)) return r.status = LinkStatus::TimedOut, r;
    if (SameIgnoringCase(r.text, "ERROR")) return r.status = LinkStatus::ErrorReply, r;
    if (r.text.size() >= count) return r.status = LinkStatus::Ok, r;
  }
}

// A line ends at CR LF. After the CR, a reply must go on with LF at once; a line read
// waits for its LF, dropping anything in between.
LineRead Link::ReadToCrLf(Clock::Duration timeout, bool crMustBeFollowedByLf) {
  const auto deadline = clock_.Now() + timeout;
  LineRead r;
  bool sawCr = false;
  for (;;) {
    if (const auto byte = Turn(deadline)) {
      if (sawCr) {
        if (*byte == kLf) return r.status = LinkStatus::Ok, r;
        if (crMustBeFollowedByLf) return r.status = LinkStatus::Unexpected, r;
      } else if (*byte == kCr) {
        sawCr = true;
      } else if (r.text.size() < kMaxLineLength) {
        r.text.push_back(static_cast<char>(*byte));
      } else {
        r.overlong = true;
      }
    }
    if (cancelRequested_) return r.status = LinkStatus::Cancelled, r;
    if (Late(deadline)) return r.status = LinkStatus::TimedOut, r;
  }
}

LineRead Link::ReadLine(Clock::Duration timeout) { return ReadToCrLf(timeout, false); }

LineRead Link::ReadReply(Clock::Duration timeout) { return ReadToCrLf(timeout, true); }

LinkStatus Link::ReadAck() {
  const LineRead r = ReadChars(6, kLongWait);
  switch (r.status) {
    case LinkStatus::Ok:
      break;
    case LinkStatus::ErrorReply:
      // The radio ends "ERROR" with CR LF; left waiting, they would spoil the
      // next attempt's acknowledgement, so they go with the error.
      WaitByte(kLf, kShortWait);
      return r.status;
    case LinkStatus::Cancelled:
    case LinkStatus::TimedOut:
      return r.status;
    case LinkStatus::Unexpected:
      return LinkStatus::Unexpected;
  }
  if (r.text != "#CMDOK") return LinkStatus::Unexpected;
  if (WaitByte(kCr, kShortWait) != LinkStatus::Ok) return LinkStatus::Unexpected;
  if (WaitByte(kLf, kShortWait) != LinkStatus::Ok) return LinkStatus::Unexpected;
  return LinkStatus::Ok;
}

// ---- transactions ----

bool Link::Connect() {
  cancelRequested_ = false;
  diagnosis_.clear();
  try {
    // A port that will not open ends the attempt here, not in a fault further on.
    if (!PortInit()) {
      return PortFailed();
    }
    bool echoed = false;
    for (int ping = 0; ping < 3 && !echoed && !cancelRequested_; ++ping) {
      SendByte('P');
      if (WaitByte('P', kShortWait) == LinkStatus::Ok) {
        SendByte('0');
        echoed = true;
      }
    }
    // The radio may still run at the fast rate from an earlier connection.
    if (!echoed) ShowStatus(kSyncFailed);

    if (cancelRequested_) return Diagnose("cancelled"), false;
    ShowStatus(kSendingRate);
    SendRateCommand("ACMD:002");
    const LineRead reply = ReadReply(kShortWait);
    switch (reply.status) {
      case LinkStatus::Ok:
        if (reply.text == "ERROR") {
          Diagnose("the radio refused the rate command ACMD:002");
          Message(kAcmdError, Icon::Critical);
          return false;
        }
        if (reply.text != "OK") {
          Diagnose("the radio answered the rate command with '" + reply.text.substr(0, 40) + "'");
          Message(kError, Icon::Critical);
          return false;
        }
        break;
      case LinkStatus::Cancelled:
        Diagnose("cancelled");
        return false;
      case LinkStatus::Unexpected:
        Message(kError, Icon::Critical);
        break;
      case LinkStatus::TimedOut:
      case LinkStatus::ErrorReply:
        break;
    }

    if (!PortInitCP()) {
      return PortFailed();
    }
    clock_.Sleep(kSyncPause);
    if (SyncLink()) return true;
    if (cancelRequested_) return Diagnose("cancelled"), false;
    // It echoed the ping and then fell silent at the fast rate: a radio that stays at 19200.
    const bool staysSlow = echoed && reply.status == LinkStatus::TimedOut && !options_.baud19200;
    Diagnose("the radio did not answer #CMDSY on " + line_.Name() +
             (staysSlow ? "; it answered at 19200 baud but not the rate command: a radio that stays at 19200 "
                          "needs the 19200-baud mode (qm47-cli --baud19200, qm47 /E)"
                        : "; check the cable and that the radio shows UART (hold DISTRESS and CALL while "
                          "switching on)"));
    return false;
  } catch (const LinkFault& f) {
    Diagnose("port fault on " + line_.Name() + ": " + std::to_string(f.error.number) + " " + f.error.description);
    return false;
  }
}

bool Link::SyncLink() {
  bool passed[2] = {false, false};
  bool stop = false;
  for (int pass = 1; pass <= 2 && !stop; ++pass) {
    for (int attempt = 0; attempt < options_.retryCount; ++attempt) {
      ShowStatus(kSendingSync + std::to_string(pass) + ")");
      SendLine("#CMDSY");
      const LinkStatus r = ReadAck();
      if (r == LinkStatus::Ok) {
        passed[pass - 1] = true;
        break;
      }
      if (r != LinkStatus::TimedOut && r != LinkStatus::ErrorReply) {
        stop = true;
        break;
      }
    }
  }
  if (passed[0] && passed[1]) return true;
  ShowStatus(kNoAck);
  return false;
}

bool Link::ConfirmResync() {
  if (Message(kConfirmSync, Icon::Question, Buttons::OkCancel) != Answer::Ok) return false;
  return SyncLink();
}

namespace {
std::string Naming(const char* what, Address address, int length) {
  return std::string(what) + " for " + AddressText(address) + " (" + std::to_string(length) +
         (length == 1 ? " byte)" : " bytes)");
}

BlockResult Ended(LinkStatus r) {
  return {r == LinkStatus::Ok ? Ending::Done : r == LinkStatus::Cancelled ? Ending::Cancelled : Ending::Failed, r};
}
}  // namespace

LinkStatus Link::Request(const Bytes& request, const std::string& what, bool flushFirst) {
  int attempts = options_.retryCount;
  for (;;) {
    // No new request after a stop: the radio must not be asked to write what was cancelled.
    if (cancelRequested_) {
      Diagnose(what + ": cancelled before it was sent");
      return LinkStatus::Cancelled;
    }
    if (flushFirst) FlushInput();
    SendFrame(request);
    const LinkStatus r = ReadAck();
    if (r == LinkStatus::Ok) return r;
    Diagnose(what + " on " + line_.Name() + ": " + StatusWords(r));
    if (r == LinkStatus::TimedOut && --attempts > 0) continue;
    if (r == LinkStatus::ErrorReply) {
      if (--attempts > 0) continue;
      if (!ConfirmResync()) return r;
      attempts = 1;
      continue;
    }
    return r;
  }
}

BlockResult Link::ReadBlock(std::span<std::uint8_t> buffer, Address address, int length) {
  FlushInput();
  const Bytes request = BuildFrame("#CEPRD", HexField(static_cast<unsigned>(address), 4),
                                   HexField(static_cast<unsigned>(length), 2), "");
  const LinkStatus r = Request(request, Naming("the read request", address, length), false);
  if (r != LinkStatus::Ok) return Ended(r);
  return {ReceiveData(buffer, address, length), r};
}

Ending Link::ReceiveData(std::span<std::uint8_t> buffer, Address address, int length) {
  const auto fail = [&](const std::string& why) {
    Diagnose("the data answer for " + AddressText(address) + ": " + why);
    return Ending::Failed;
  };

  const LineRead header = ReadChars(6, kLongWait);
  switch (header.status) {
    case LinkStatus::Ok:
      if (header.text != "#CEPDT") {
        fail("it did not begin with #CEPDT");
        SendLine("#CMDER");
        return Ending::Failed;
      }
      break;
    case LinkStatus::Cancelled:
      fail("cancelled");
      Message(kCancel, Icon::Critical);
      return Ending::Cancelled;
    case LinkStatus::TimedOut:
      fail("it did not come within 10 s");
      Message(kTimeOut, Icon::Critical);
      return Ending::Failed;
    case LinkStatus::ErrorReply:
    case LinkStatus::Unexpected:
      return fail("the radio answered ERROR");
  }

  const LineRead rest = ReadLine(kLongWait);
  if (rest.status == LinkStatus::TimedOut) {
    fail("it was not complete within 10 s");
    Message(kTimeOut, Icon::Critical);
    return Ending::Failed;
  }
  if (rest.status != LinkStatus::Ok) {
    fail("cancelled");
    return Ending::Cancelled;
  }
  if (rest.overlong || !CheckFrame("#CEPDT" + rest.text)) {
    fail("its checksum was wrong");
    SendLine("#CMDSM");
    return Ending::Failed;
  }

  const std::vector<std::string> fields = SplitFields(rest.text);
  if (fields.size() < 4) return fail("it had too few fields");
  if (HexValue(fields[1]) != static_cast<std::uint64_t>(address)) {
    fail("it carried address " + fields[1].substr(0, 8));
    Message(kAddressError, Icon::Critical);
    return Ending::Failed;
  }
  const std::string& data = fields[3];
  if (HexValue(fields[2]) != static_cast<std::uint64_t>(length) ||
      data.size() != 2 * static_cast<std::size_t>(length)) {
    fail("its length did not match the request");
    Message(kDataError, Icon::Critical);
    return Ending::Failed;
  }
  if (address < 0 || length < 0 || static_cast<std::size_t>(address) + static_cast<std::size_t>(length) > buffer.size()) {
    return fail("the block does not fit the buffer");
  }
  for (int i = 0; i < length; ++i) {
    buffer[static_cast<std::size_t>(address + i)] =
        static_cast<std::uint8_t>(HexValue(std::string_view(data).substr(static_cast<std::size_t>(2 * i), 2)));
  }
  SendLine("#CMDOK");
  return Ending::Done;
}

BlockResult Link::WriteBlock(const MemoryImage& image, Address address, int length) {
  if (address < 0 || length <= 0 || address + length > kImageSize) {
    Diagnose(Naming("the write request", address, length) + ": not inside the memory image");
    return {Ending::Failed, LinkStatus::Unexpected};
  }
  const auto bytes = std::span<const std::uint8_t>(image.bytes()).subspan(static_cast<std::size_t>(address),
                                                                           static_cast<std::size_t>(length));
  const Bytes request = BuildFrame("#CEPWR", HexField(static_cast<unsigned>(address), 4),
                                   HexField(static_cast<unsigned>(length), 2), HexData(bytes));
  return Ended(Request(request, Naming("the write request", address, length), true));
}

void Link::SendCancel() {
  SendByte(kCan);
  // The cancel that brought us here must not cut short the wait for the confirmation.
  WaitByte(kAck, kLongWait, false);
}

}  // namespace qm47
