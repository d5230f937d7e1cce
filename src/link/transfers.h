// The five transfers: status and model checks, then the read, program and clear
// block loops over the link's block transactions.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "link/link.h"
#include "model/codec.h"
#include "model/memory_image.h"
#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

// Transfer mode, as the main window sets it before it opens the dialog.
namespace transfer_mode {
inline constexpr int Read = 0;
inline constexpr int Program = 1;
inline constexpr int ClearMmsi = 2;
inline constexpr int ClearDscLog = 3;
inline constexpr int ClearDistressLog = 4;
}  // namespace transfer_mode

namespace transfer_text {
inline constexpr const char* kNotReady = "Radio not ready!!";
inline constexpr const char* kBusy = "Radio is busy!!";
inline constexpr const char* kCommunicationError = "Communication Error!!";
inline constexpr const char* kModelTypeError = "ModelType Error !!";
inline constexpr const char* kComplete = "Complete!!";
inline constexpr const char* kModelCheckCaption = "Model Check";
inline constexpr const char* kReadCaption = "Read from Radio";
inline constexpr const char* kProgramCaption = "Program to Radio";
inline constexpr const char* kClearCaption = "Clear Data";
}  // namespace transfer_text

// Where each transfer reads and writes in the radio's memory.
namespace area {
inline constexpr Address SingleBytesFirst = 0x0002;  // written one byte per request
inline constexpr Address SingleBytesEnd = 0x0040;
inline constexpr Address SkippedFirst = 0x0200;      // read, never taken over or written
inline constexpr Address SkippedEnd = 0x0300;
inline constexpr Address DscLogFirst = 0x3600;
inline constexpr Address DscLogLastBlock = 0x3CC0;
inline constexpr Address DistressLogFirst = 0x3D00;
inline constexpr Address DistressLogLastBlock = 0x3FC0;
inline constexpr Address DistressLogLastRecord = 0x3FE0;
inline constexpr int DistressRecordSize = 32;
inline constexpr int DistressClearedBytes = 25;
inline constexpr int BlockSize = 64;
}  // namespace area

// True for the addresses a read takes over and a program transfer writes.
bool IsSettingsAddress(Address a);

// What a verified program transfer read back: the radio's settings areas over the image
// sent, and the settings addresses where the two differ.
struct ReadBack {
  MemoryImage radio;
  std::vector<Address> differing;
};

// What the radio may hold after a transfer ended.
enum class RadioState {
  Unchanged,         // nothing was written to it
  PartlyWritten,     // some writes may have landed, or it did not keep them: write again
  WrittenUnchecked,  // every write was acknowledged, but the read-back could not finish
  Written,           // every write landed (and was found there when checked)
};

// How a transfer ended, for the dialog to act on and the user to be told.
struct TransferResult {
  Ending ending = Ending::Failed;  // Done: "Complete!!" was shown
  bool closesDialog = false;       // done, the radio not ready, or a read-back that found differences
  RadioState radio = RadioState::Unchanged;
  std::string diagnosis;           // what went wrong, for a person
  bool diagnosisShown = false;     // a message box carried it already
  bool completed() const { return ending == Ending::Done; }
};

// One sentence on what the radio holds after `mode` ended with `state`.
std::string RadioStateText(int mode, RadioState state);

class Transfers {
 public:
  Transfers(Link& link, MemoryImage& image, SettingsRecord& record, const ModelDescriptor& model);

  // Encode, normalise and checksum the record into the image before programming.
  void PrepareImageForProgram() { PrepareImageForExport(record_, image_, model_.number); }

  // Asked with the radio's two model code words when they are not the model's; it may
  // switch the model (and the image a read starts from) to the radio's before the check
  // decides. Unset, a radio of another model is refused.
  void AdoptModelWith(std::function<void(int first, int second)> adopt) { adopt_ = std::move(adopt); }

  bool StatusCheck();
  Ending ReadDataChkModel();
  Ending ReadData(std::span<std::uint8_t> buffer);
  // `hold`: a successful loop leaves the port open at its rate for the read-back.
  Ending WriteData(bool hold = false);
  Ending ClearData();
  Ending ClearDataDsc();
  Ending ClearDataDistress();
  // Reads the blocks a program transfer writes into `buffer`.
  Ending VerifyData(std::span<std::uint8_t> buffer);

  // Called with what the radio holds once a block loop that read it has succeeded: all it
  // sent (`whole`), before the image takes anything over; or a verify's read-back.
  using RadioRead = std::function<void(std::span<const std::uint8_t> radio, bool whole)>;
  void OnRadioRead(RadioRead received) { onRead_ = std::move(received); }
  // A program transfer then reads the written areas back; "Complete!!" only when they match.
  void SetVerify(bool verify) { verify_ = verify; }
  const std::optional<ReadBack>& readBack() const { return readBack_; }

  TransferResult RunReadTransfer();
  TransferResult RunProgramTransfer();
  TransferResult RunClearTransfer(int mode);

 private:
  template <class Body>
  TransferResult Run(Body body);
  // Runs a step that owns the port; a fault inside it is logged, shown and ends the step.
  template <class Step>
  Ending Trapped(const char* source, Step step);
  bool StatusCheckOnce(bool& again);
  Ending CheckModel();
  Ending WriteSingleBytes();
  // Abort byte after a cancel, the port closed (unless held after a success), then the
  // pause or "Communication Error!!".
  Ending EndLoop(Ending loop, const char* caption, bool hold = false);
  Ending ClearLog(int step, Address first, Address last, int length);
  // Reads back `length`-byte blocks from `first` to `last` and compares them with the image.
  Ending CheckCleared(Address first, Address last, int length, const char* area, const char* caption);
  void Succeeded();
  Ending Verify();
  int Percent(Address a) const;

  Link& link_;
  MemoryImage& image_;
  SettingsRecord& record_;
  const ModelDescriptor& model_;
  std::function<void(int first, int second)> adopt_;
  RadioRead onRead_;
  bool verify_ = false;
  std::optional<ReadBack> readBack_;
  RadioState radio_ = RadioState::Unchanged;
  bool diagnosisShown_ = false;
};

}  // namespace qm47
