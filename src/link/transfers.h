// The five transfers: status and model checks, then the read, program and clear
// block loops over the link's block transactions.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
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
inline constexpr const char* kAlreadyHeld = "The radio already holds these settings.";
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

// What a program transfer writes: every settings block in the documented order, or only
// the single bytes of 0x0002-0x003F and the 64-byte blocks that differ from what the radio
// is known to hold, in the same order and framing.
struct WritePlan {
  bool whole = true;
  std::vector<Address> singleBytes;
  std::vector<Address> blocks;
  bool empty() const { return !whole && singleBytes.empty() && blocks.empty(); }
  // The write requests it sends.
  int requests() const;
  // True when the plan writes the byte at `a`.
  bool Writes(Address a) const;
};
WritePlan ChangedWritePlan(const MemoryImage& radio, const MemoryImage& image);

// How a program transfer checks the radio afterwards.
enum class ProgramCheck {
  None,
  Whole,    // every settings block is read back, written or not
  Written,  // only the blocks written: for a radio that stayed on the bench since its read
};

// The blocks a check reads back after `plan`.
std::vector<Address> CheckedBlocks(const WritePlan& plan, ProgramCheck check);

// "0x0002-0x003F, 0x0040-0x007F": the areas of (address, length) writes, neighbours joined.
std::string AreasText(std::vector<std::pair<Address, int>> writes);

struct ProgramOptions {
  ProgramCheck check = ProgramCheck::None;
  // Write only what differs from what the radio is known to hold: `knownRadio`, or with
  // `readFirst` what that read found.
  bool changedOnly = false;
  std::optional<MemoryImage> knownRadio;
  // The whole radio is read first on the same connection (the backup before programming);
  // `beforeWrite` then decides whether anything is written.
  bool readFirst = false;
  std::function<bool()> beforeWrite;
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
  // The radio's settings may now differ from every read of them, so a later program must
  // not write only what differs from such a read.
  bool radioUnknown = false;
  std::optional<WritePlan> plan;                  // a program transfer: how it wrote
  std::vector<std::pair<Address, int>> written;   // the write requests sent: each may have landed
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
  // `hold`: a successful loop leaves the port open at its rate for what follows.
  Ending ReadData(std::span<std::uint8_t> buffer, bool hold = false);
  Ending WriteData(bool hold = false) { return WriteData(WritePlan{}, hold); }
  Ending WriteData(const WritePlan& plan, bool hold);
  Ending ClearData();
  Ending ClearDataDsc();
  Ending ClearDataDistress();
  // Reads the blocks a program transfer writes into `buffer`.
  Ending VerifyData(std::span<std::uint8_t> buffer) {
    return VerifyData(buffer, CheckedBlocks(WritePlan{}, ProgramCheck::Whole));
  }
  Ending VerifyData(std::span<std::uint8_t> buffer, const std::vector<Address>& blocks, bool hold = false);

  // Called with what the radio holds once a block loop that read it has succeeded: all it
  // sent (`whole`), before the image takes anything over; or a verify's read-back.
  using RadioRead = std::function<void(std::span<const std::uint8_t> radio, bool whole)>;
  void OnRadioRead(RadioRead received) { onRead_ = std::move(received); }
  // A program transfer then reads the written areas back; "Complete!!" only when they match.
  void SetVerify(bool verify) { program_.check = verify ? ProgramCheck::Whole : ProgramCheck::None; }
  void SetProgramOptions(ProgramOptions options) { program_ = std::move(options); }
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
  enum class StatusAnswer { Ready, NotReady, AskAgain };
  StatusAnswer StatusCheckOnce();
  Ending CheckModel();
  Ending WriteSingleBytes(const std::vector<Address>& bytes);
  Ending WriteChanged(const WritePlan& plan);
  Ending WriteOne(Address a, int length);
  // Whether the radio connected is the one `known` was read from.
  struct KnownRadio {
    Ending ending;
    bool same;
  };
  KnownRadio CheckKnownRadio(const MemoryImage& known);
  Ending Program();
  // Abort byte after a cancel, the port closed (unless held after a success), then the
  // pause or "Communication Error!!".
  Ending EndLoop(Ending loop, const char* caption, bool hold = false);
  Ending ClearLog(int step, Address first, Address last, int length);
  // Reads back `length`-byte blocks from `first` to `last` and compares them with the image.
  Ending CheckCleared(Address first, Address last, int length, const char* area, const char* caption);
  void Succeeded(const char* text = transfer_text::kComplete);
  Ending Verify(const WritePlan& plan, const MemoryImage& known);
  int Percent(Address a) const;

  Link& link_;
  MemoryImage& image_;
  SettingsRecord& record_;
  const ModelDescriptor& model_;
  std::function<void(int first, int second)> adopt_;
  RadioRead onRead_;
  ProgramOptions program_;
  std::optional<ReadBack> readBack_;
  std::optional<WritePlan> plan_;
  std::vector<std::pair<Address, int>> written_;
  bool checked_ = false;  // read back after the last write
  std::pair<int, int> modelWords_{};
  RadioState radio_ = RadioState::Unchanged;
  bool diagnosisShown_ = false;
};

}  // namespace qm47
