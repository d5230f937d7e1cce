// The protocol layer: opening the port at the three line speeds, the connect
// sequence, the readers with their deadlines and the two block transactions.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "files/error_log.h"
#include "files/io_error.h"
#include "link/frame.h"
#include "link/serial_line.h"
#include "model/memory_image.h"
#include "seams/clock.h"
#include "seams/user_interface.h"

namespace qm47 {

// Outcome of every reader; callers compare the values literally.
enum class LinkStatus : std::int16_t { Ok = 0, Cancelled = 1, TimedOut = 3, ErrorReply = 8, Unexpected = -1 };

struct LineRead {
  std::string text;
  LinkStatus status = LinkStatus::TimedOut;
  bool overlong = false;  // the line outgrew kMaxLineLength; the excess was dropped
};

struct LinkOptions {
  bool debugMode = false;  // monitor texts, each followed by a 500 ms pause; err.log
  bool baud19200 = false;  // keep the fast phase at 19200 baud
  int retryCount = 3;
};

// How a block transaction or a transfer step ended.
enum class Ending { Done, Cancelled, Failed };

struct BlockResult {
  Ending ending = Ending::Failed;
  LinkStatus last = LinkStatus::TimedOut;  // how the last attempt's acknowledgement went
  bool done() const { return ending == Ending::Done; }
  // The radio stopped answering altogether.
  bool silent() const { return ending == Ending::Failed && last == LinkStatus::TimedOut; }
};

// A port fault raised inside the link; trapped by the procedures that own it.
struct LinkFault {
  IoError error;
};

namespace link_text {
inline constexpr const char* kSettingsSlow = "9600,N,8,1";
inline constexpr const char* kSettingsConnect = "19200,N,8,1";
inline constexpr const char* kSettingsFast = "57600,N,8,1";

inline constexpr const char* kSyncFailed = "sync failed!!";
inline constexpr const char* kSendingRate = "sending 'ACMD:002'...";
inline constexpr const char* kSendingSync = "sending '#CMDSY'...(";
inline constexpr const char* kNoAck = "can'not Receive '#CMDOK' !!";
inline constexpr const char* kAcmdError = "ACMD Command error!!";
inline constexpr const char* kError = "error!!";
inline constexpr const char* kPortInitError = "port inicialize error!!";
inline constexpr const char* kConfirmSync = "confirm the synchronization of the communication";
inline constexpr const char* kCancel = "cancel!!";
inline constexpr const char* kTimeOut = "time out!!";
inline constexpr const char* kAddressError = "address error!!";
inline constexpr const char* kDataError = "data error!!";
}  // namespace link_text

inline constexpr std::size_t kMaxLineLength = 4096;

class Link {
 public:
  Link(SerialLine& line, Clock& clock, UserInterface& ui, const ErrorLog& log, LinkOptions options);

  // Caption of the link's message boxes: the operation title of the dialog.
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  const std::string& caption() const { return caption_; }
  const LinkOptions& options() const { return options_; }
  UserInterface& ui() { return ui_; }
  Clock& clock() { return clock_; }
  const ErrorLog& errorLog() const { return log_; }
  SerialLine& line() { return line_; }

  // A stop asked for by the user (Cancel, a signal). It holds until the next connect, so
  // every reader after it ends at once and no new request starts.
  void RequestCancel() { cancelRequested_ = true; }
  bool CancelRequested() const { return cancelRequested_; }

  // Monitor line: debug mode only, each text followed by a 500 ms pause.
  void ShowStatus(const std::string& text);
  void ClearStatus();
  void ShowProgress(int percent);
  Answer Message(const std::string& text, Icon icon, Buttons buttons = Buttons::Ok);
  // How many message boxes the link has shown, so a caller knows whether a failure was told.
  int messagesShown() const { return messagesShown_; }

  // What went wrong last, in words for a person at a terminal (port, block, cause).
  const std::string& Diagnosis() const { return diagnosis_; }
  void Diagnose(std::string text) { diagnosis_ = std::move(text); }

  // Port operations; failures go to the error log and show only in the result. Closing or
  // re-opening first lets the bytes last written leave at the rate they were written at.
  bool PortInit();
  bool PortInitCP();
  bool PortOpen();
  void PortClose();
  void FlushInput();

  // Senders: each pauses 10 ms, then hands its bytes to the port at once.
  void SendByte(std::uint8_t byte);
  void SendLine(std::string_view text);
  void SendRateCommand(std::string_view text);
  void SendFrame(const Bytes& frame);

  // Readers: one byte per turn until done, cancelled or past the deadline.
  LinkStatus WaitByte(std::uint8_t expected, Clock::Duration timeout, bool cancellable = true);
  LineRead ReadChars(std::size_t count, Clock::Duration timeout);
  LineRead ReadLine(Clock::Duration timeout);
  LineRead ReadReply(Clock::Duration timeout);
  LinkStatus ReadAck();

  bool Connect();
  bool SyncLink();
  BlockResult ReadBlock(std::span<std::uint8_t> buffer, Address address, int length);
  BlockResult WriteBlock(const MemoryImage& image, Address address, int length);
  // Abort byte, then up to 10 s for the radio's confirmation, which no cancel cuts short.
  void SendCancel();
  // After "ERROR" on every attempt: asks, and re-synchronises on OK.
  bool ConfirmResync();
  // Sends `request` and reads its acknowledgement with the retry rules every request
  // shares: time-outs and "ERROR" retried up to the retry count, then after "ERROR" the
  // question and one more attempt per re-synchronisation. `what` names it for a diagnosis.
  LinkStatus Request(const Bytes& request, const std::string& what, bool flushFirst);

 private:
  bool OpenPort(const char* settings, const char* source, bool showSettings);
  // "port inicialize error!!" with the line that says why; false.
  bool PortFailed();
  void Send(std::span<const std::uint8_t> bytes);
  // Until the bytes written last have crossed the wire, plus a guard: draining the driver
  // is not enough, a USB adapter's own buffer and a pseudo-terminal still hold them.
  void WaitUntilSent();
  Ending ReceiveData(std::span<std::uint8_t> buffer, Address address, int length);
  void RequireOpen() const;
  // One turn of a reader: events, then at most one byte (or a short wait for one).
  std::optional<std::uint8_t> Turn(Clock::TimePoint deadline);
  bool Late(Clock::TimePoint deadline) const { return clock_.Now() > deadline; }
  LineRead ReadToCrLf(Clock::Duration timeout, bool crMustBeFollowedByLf);

  SerialLine& line_;
  Clock& clock_;
  UserInterface& ui_;
  const ErrorLog& log_;
  LinkOptions options_;
  bool cancelRequested_ = false;
  int messagesShown_ = 0;
  Clock::TimePoint sentBy_{};  // when the bytes written so far have all left
  std::string caption_;
  std::string diagnosis_;
  std::optional<IoError> openFault_;  // why the port last failed to open
};

// "0x0040"
std::string AddressText(Address a);

// The line under "port inicialize error!!": the device, why it failed and what to do.
std::string PortFailureDetail(const std::string& device, const IoError& fault);

}  // namespace qm47
