// The editor's free-text fields: what each accepts while typing, its status-bar hint,
// how its text is checked and turned into the stored value, and where that value lives.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/settings_record.h"

namespace qm47 {

// Every free-text field of the pages. The directory boxes get one identifier per
// directory because their length, check and caption differ.
enum class EntryField {
  UserMmsi,        // txtUserMMSI
  IndividualMmsi,  // txtGMMSI on an individual directory entry
  GroupMmsi,       // txtGMMSI on a group directory entry
  IndividualName,  // txtGPosi on an individual directory entry
  GroupName,       // txtGPosi on a group directory entry
  AtisCode,        // txtATIScode
  AtisMid,         // txtATISMid_0 .. _19
  AtisDisp,        // txtATISDisp_0 .. _19
  ChannelTag,      // txtCTag
  WeatherTag,      // txtDTagName_0 .. _9
  DisplayLeft,     // txtCN_0
  DisplayRight,    // txtCN_1
  RxFrequency,     // txtCRF
  TxFrequency,     // txtCTF
  StatusName,      // txtUsable_0 .. _3
};

enum class KeySet { Digits, Frequency, LettersAndDigits, Tag, Status, Display, Any };

enum class EntryCheck {
  None,            // taken as typed
  FixedLength,     // empty or exactly `digits` characters
  Mmsi,            // as FixedLength, stored as ten characters
  Frequency,       // 137..174 MHz on a 25 kHz step, empty for none
  StatusName,      // always valid, stored as four characters
  CallSignNumber,  // as typed, zero-padded to three digits when the box is left
};

enum class EntryStoreTime {
  EachChange,  // every change goes into the record at once
  WhenLeft,    // checked and stored when the field is left or validated
};

struct EntryFieldRule {
  EntryField field;
  std::string_view control;  // objectName; boxes of an array add "_" and the index
  std::string_view hint;     // first panel of the status bar while focused
  KeySet keys;
  int maxLength;
  EntryCheck check;
  int digits;                   // FixedLength and Mmsi
  std::string_view errorTitle;  // caption of "Data Error!!"; empty for fields without one
  EntryStoreTime stores;
};

// The rules in EntryField order; RuleFor(f).field == f.
std::span<const EntryFieldRule> EntryFieldRules();
const EntryFieldRule& RuleFor(EntryField field);

inline constexpr char32_t kBackspace = 8;
inline constexpr const char* kDataErrorMessage = "Data Error!!";

// A typed character the field lets in; Backspace always.
bool AcceptsKey(EntryField field, char32_t key);
// Text arriving whole (pasted or dropped) is let in only when every character would be.
bool AcceptsText(EntryField field, std::u32string_view text);
// What a change of the field's text from `before` to `after` (UTF-8) leaves when only
// the characters it adds that the field's keys let in are kept, up to the field's length:
// `after` itself for any change typing, pasting or deleting could make. Text set past the
// keyboard (by assistive technology) is taken as this, as if it had been typed.
std::string AcceptedChange(EntryField field, std::string_view before, std::string_view after);

// Spaces at both ends do not count.
bool FixedLengthValid(std::string_view text, int digits);
// Nine digits (individual) gain a trailing "0"; eight group digits a "0" on each side;
// empty stays empty. Only for a text FixedLengthValid accepts.
std::string MmsiStored(std::string_view text, int digits);

struct FrequencyEntry {
  bool valid = false;
  double mhz = 0;  // what to store when valid; 0 for an empty field
};
// The leading decimal number of the text, in MHz.
FrequencyEntry CheckFrequency(std::string_view text);

// Trimmed; right-aligned in four characters, or its last four; empty when blank.
std::string StatusNameStored(std::string_view text);
// "7" -> "007"; empty stays empty; anything but one to three digits is kept.
std::string CallSignNumberText(std::string_view text);

// One field on the page: which record field it edits.
struct EntryPlace {
  EntryField field = EntryField::UserMmsi;
  int index = 0;  // status group, call sign, directory entry or channel entry, from 0
  int group = kUSA;  // channel group (kUSA .. kEXP) of txtCTag and the expansion boxes

  bool operator==(const EntryPlace&) const = default;
};

// A stored value: the text, or for the frequency fields the frequency in MHz.
struct EntryValue {
  std::string text;
  double mhz = 0;

  bool operator==(const EntryValue&) const = default;
};

struct EntryCheckResult {
  bool valid = false;
  EntryValue value;  // what to store when valid
};
// The field's check and store transform applied to a text.
EntryCheckResult CheckEntry(EntryField field, std::string_view text);

// The display boxes and frequencies edit only expansion channels; on a plan channel
// they are read-only and their events change nothing.
bool EntryEditable(const EntryPlace& place);

// The record's value at the place; an empty value when the place is out of range.
EntryValue StoredEntry(const SettingsRecord& rec, const EntryPlace& place);
// Writes the value; false (and no change) when the place is out of range.
bool StoreEntry(SettingsRecord& rec, const EntryPlace& place, const EntryValue& value);

// What the field shows for a stored value: MMSIs without the zeros the store added,
// frequencies as "000.0000" (snapped as the report shows them), texts as stored.
std::string ShownText(EntryField field, const EntryValue& value);

// The field as its page names it, what it accepts in plain words and a value it takes
// ("UserMMSI: exactly 9 digits, for example 366123456; empty for none."): the line under
// "Data Error!!", whose text alone does not say which field or why, and the box's tooltip.
std::string EntryRuleText(EntryField field);

}  // namespace qm47
