// What a program transfer is about to change in the radio, and what a verify found the
// radio did not keep, each setting named by its .dat section and key.
#pragma once

#include <string>
#include <vector>

#include "editor/session/session.h"
#include "files/settings_diff.h"
#include "model/memory_image.h"

namespace qm47 {

// The image a program transfer sends for the session (encoded, normalised, checksummed),
// made on copies: the session itself is left as it is.
MemoryImage ImageToProgram(const Session& s);

// The settings that programming the session would change in the radio as last read
// (before: the radio, after: the session), every one: also those the program's own
// tidying makes (a value out of range, a flag no channel uses). Nothing without a radio image.
std::vector<SettingChange> PendingChanges(const Session& s);

// The change list before a program transfer: what changes, how the transfer will write
// and check, and whether it offers to check only what it wrote.
struct ProgramReview {
  std::vector<SettingChange> changes;
  std::string plan;                 // "Only what differs from the radio's last read is written: ..."
  bool offersWrittenCheck = false;  // a changed-only write: the check box
  bool checkWrittenOnly = false;    // its state as last chosen
  std::string warning;              // see MmsiLossWarning; empty for none
};
ProgramReview ReviewProgram(const Session& s, bool changedOnly, bool checkWrittenOnly);
// Said before a program that would erase the radio's own MMSI (the radio as last read
// holds one, the settings to program none); empty otherwise. Listed among the changes
// it looks like any other.
std::string MmsiLossWarning(const Session& s);
// "1 write of 273": a changed-only write against the whole program's.
std::string WritesOfAll(int writes);

// What the user chose in the change list.
struct ReviewAnswer {
  bool program = false;
  bool checkWrittenOnly = false;
};

// Where `radio` differs from `sent` in the areas a program writes (before: sent, after:
// held). Bytes no setting covers are listed as section "image byte", key "0x005F".
std::vector<SettingChange> UnkeptSettings(const Session& s, const MemoryImage& sent, const MemoryImage& radio);

// A change as the pages name it, for a person to check: "USA CH16" / "CH Name" for
// [CHUSA32] ChTag, an MMSI with the nine figures that were typed. The CLI keeps the
// .dat terms, which scripts and `diff` share.
SettingChange ShownChange(const SettingChange& change);

}  // namespace qm47
