#include "editor/pages/entry_rules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>

#include "model/text.h"
#include "report/value_format.h"

namespace qm47 {

namespace {

using enum EntryField;

constexpr std::string_view kNineFigures = "Numeric Only. Indispensable 9 figures.";
constexpr std::string_view kTwelveCharacters = "A maximum of 12 characters";
constexpr std::string_view kTenCharacters = "A maximum of 10 characters.";

constexpr std::array<EntryFieldRule, 15> kRules{{
    {UserMmsi, "txtUserMMSI", kNineFigures, KeySet::Digits, 9, EntryCheck::Mmsi, 9, "User MMSI",
     EntryStoreTime::WhenLeft},
    {IndividualMmsi, "txtGMMSI", kNineFigures, KeySet::Digits, 9, EntryCheck::Mmsi, 9, "Individual Directory MMSI",
     EntryStoreTime::WhenLeft},
    {GroupMmsi, "txtGMMSI", kNineFigures, KeySet::Digits, 8, EntryCheck::Mmsi, 8, "Group Directory MMSI",
     EntryStoreTime::WhenLeft},
    {IndividualName, "txtGPosi", kTenCharacters, KeySet::Tag, 10, EntryCheck::None, 0, "", EntryStoreTime::WhenLeft},
    {GroupName, "txtGPosi", kTenCharacters, KeySet::Tag, 10, EntryCheck::None, 0, "", EntryStoreTime::WhenLeft},
    {AtisCode, "txtATIScode", "Numeric Only. Indispensable 10 figures.", KeySet::Digits, 10, EntryCheck::FixedLength,
     10, "ATISNo", EntryStoreTime::WhenLeft},
    {AtisMid, "txtATISMid", "Numeric Only. Indispensable 3 figures.", KeySet::Digits, 3, EntryCheck::CallSignNumber, 3,
     "", EntryStoreTime::EachChange},
    {AtisDisp, "txtATISDisp", "Indispensable 3 figures.", KeySet::LettersAndDigits, 3, EntryCheck::None, 0, "",
     EntryStoreTime::EachChange},
    {ChannelTag, "txtCTag", kTwelveCharacters, KeySet::Tag, 12, EntryCheck::None, 0, "", EntryStoreTime::EachChange},
    {WeatherTag, "txtDTagName", kTwelveCharacters, KeySet::Any, 12, EntryCheck::None, 0, "",
     EntryStoreTime::EachChange},
    {DisplayLeft, "txtCN", "Indispensable 2 figures.", KeySet::Display, 2, EntryCheck::None, 0, "",
     EntryStoreTime::EachChange},
    {DisplayRight, "txtCN", "Indispensable 1 figures.", KeySet::Display, 1, EntryCheck::None, 0, "",
     EntryStoreTime::EachChange},
    // "000.0000" is eight characters.
    {RxFrequency, "txtCRF", "Rx frequency", KeySet::Frequency, 8, EntryCheck::Frequency, 0, "Rx frequency",
     EntryStoreTime::WhenLeft},
    {TxFrequency, "txtCTF", "Tx frequency", KeySet::Frequency, 8, EntryCheck::Frequency, 0, "Tx frequency",
     EntryStoreTime::WhenLeft},
    {StatusName, "txtUsable", "max 4 charactors.", KeySet::Status, 4, EntryCheck::StatusName, 0, "Status name",
     EntryStoreTime::WhenLeft},
}};

constexpr bool RulesInFieldOrder() {
  for (std::size_t i = 0; i < kRules.size(); ++i)
    if (static_cast<std::size_t>(kRules[i].field) != i) return false;
  return true;
}
static_assert(RulesInFieldOrder());

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool IsLetterOrDigit(char32_t c) { return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool OneOf(char32_t c, std::u32string_view set) { return set.find(c) != std::u32string_view::npos; }

// Where a place's value lives; both null when the place is out of range.
struct Slot {
  std::string* text = nullptr;
  double* mhz = nullptr;
};

template <typename Vector>
auto* At(Vector& v, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < v.size() ? &v[static_cast<std::size_t>(index)] : nullptr;
}

Slot SlotOf(SettingsRecord& rec, const EntryPlace& p) {
  if (!EntryEditable(p)) return {};
  auto text = [](auto* item, auto member) { return Slot{item ? &(item->*member) : nullptr, nullptr}; };
  switch (p.field) {
    case UserMmsi: return {&rec.DscBasic.UserMmsi};
    case IndividualMmsi: return text(At(rec.CHMMSID, p.index), &DirectoryEntry::Mmsid);
    case GroupMmsi: return text(At(rec.CHGRPID, p.index), &DirectoryEntry::Mmsid);
    case IndividualName: return text(At(rec.CHMMSID, p.index), &DirectoryEntry::TagName);
    case GroupName: return text(At(rec.CHGRPID, p.index), &DirectoryEntry::TagName);
    case AtisCode: return {&rec.AtisCommon.AtisCode};
    case AtisMid: return text(At(rec.AtisCallSign, p.index), &AtisCallSignEntry::MID);
    case AtisDisp: return text(At(rec.AtisCallSign, p.index), &AtisCallSignEntry::DISP);
    case ChannelTag:
      if (p.group < kUSA || p.group > kEXP) return {};
      return text(At(rec.GroupTable(p.group), p.index), &Channel::ChTag);
    case WeatherTag: return text(At(rec.CHWX, p.index), &Channel::ChTag);
    case DisplayLeft: return text(At(rec.CHEXP, p.index), &Channel::CHDisplayL);
    case DisplayRight: return text(At(rec.CHEXP, p.index), &Channel::CHDisplayR);
    case RxFrequency:
    case TxFrequency: {
      Channel* ch = At(rec.CHEXP, p.index);
      if (!ch) return {};
      return {nullptr, p.field == RxFrequency ? &ch->Rxfreq : &ch->Txfreq};
    }
    case StatusName: return text(At(rec.UsableGroup, p.index), &UsableGroupEntry::StatusName);
  }
  return {};
}

}  // namespace

std::span<const EntryFieldRule> EntryFieldRules() { return kRules; }

const EntryFieldRule& RuleFor(EntryField field) { return kRules[static_cast<std::size_t>(field)]; }

bool AcceptsKey(EntryField field, char32_t key) {
  if (key == kBackspace) return true;
  switch (RuleFor(field).keys) {
    case KeySet::Digits: return IsDigit(key);
    case KeySet::Frequency: return IsDigit(key) || key == '.';
    case KeySet::LettersAndDigits: return IsLetterOrDigit(key);
    case KeySet::Tag: return IsLetterOrDigit(key) || OneOf(key, U"-/*()+., ");
    case KeySet::Status: return IsLetterOrDigit(key) || OneOf(key, U"-+().*/ ");
    case KeySet::Display: return IsDigit(key) || OneOf(key, U"AbCdEFHLnPtUGIJoqrSy");
    case KeySet::Any: return true;
  }
  return false;
}

bool AcceptsText(EntryField field, std::u32string_view text) {
  for (char32_t c : text)
    if (c == kBackspace || !AcceptsKey(field, c)) return false;
  return true;
}

std::string AcceptedChange(EntryField field, std::string_view before, std::string_view after) {
  const std::u32string was = DecodeUtf8(before).value_or(U"");
  const std::u32string now = DecodeUtf8(after).value_or(U"");
  // The added part lies between what the two texts share at their start and at their end.
  std::size_t head = 0;
  const std::size_t shorter = std::min(was.size(), now.size());
  while (head < shorter && now[head] == was[head]) ++head;
  std::size_t tail = 0;
  while (tail < shorter - head && now[now.size() - 1 - tail] == was[was.size() - 1 - tail]) ++tail;
  const std::size_t kept = now.size() - (now.size() - head - tail);
  const auto room = static_cast<std::size_t>(RuleFor(field).maxLength);
  std::u32string added;
  for (const char32_t c : std::u32string_view(now).substr(head, now.size() - head - tail)) {
    if (kept + added.size() >= room) break;
    if (c != kBackspace && AcceptsKey(field, c)) added += c;
  }
  return EncodeUtf8(now.substr(0, head) + added + now.substr(now.size() - tail));
}

bool FixedLengthValid(std::string_view text, int digits) {
  const std::string_view t = Trimmed(text, " ");
  return t.empty() || t.size() == static_cast<std::size_t>(digits);
}

std::string MmsiStored(std::string_view text, int digits) {
  std::string s(text);
  if (digits == 8) s = "0" + s;
  if (s.size() == 9) s += "0";
  if (s.size() == 1) s.clear();  // an empty group entry
  return s;
}

FrequencyEntry CheckFrequency(std::string_view text) {
  // The leading number, read without the locale: a decimal comma must not creep in.
  std::string number;
  bool point = false;
  for (char c : text.substr(std::min(text.find_first_not_of(' '), text.size()))) {
    if (c == '.' && !point) {
      point = true;
    } else if (c < '0' || c > '9') {
      break;
    }
    number += c;
  }
  double f = 0;
  if (number.find_first_of("0123456789") != std::string::npos) {
    if (number.front() == '.') number.insert(0, "0");
    if (number.back() == '.') number.pop_back();
    std::from_chars(number.data(), number.data() + number.size(), f);
  }
  if (f < 137 || f > 174) return {text.empty(), 0};
  if (std::llround(f * 10000) % 250 != 0) return {false, 0};
  return {true, f};
}

std::string StatusNameStored(std::string_view text) {
  const std::string t(Trimmed(text, " "));
  if (t.empty() || t.size() == 4) return t;
  const std::string padded = "    " + t;
  return padded.substr(padded.size() - 4);
}

std::string CallSignNumberText(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::string(text);
  for (char c : text)
    if (c < '0' || c > '9') return std::string(text);
  return std::string(3 - text.size(), '0') + std::string(text);
}

EntryCheckResult CheckEntry(EntryField field, std::string_view text) {
  const EntryFieldRule& rule = RuleFor(field);
  switch (rule.check) {
    case EntryCheck::None:
    case EntryCheck::CallSignNumber: return {true, {std::string(text)}};
    case EntryCheck::FixedLength:
      if (!FixedLengthValid(text, rule.digits)) return {};
      return {true, {std::string(text)}};
    case EntryCheck::Mmsi:
      if (!FixedLengthValid(text, rule.digits)) return {};
      return {true, {MmsiStored(text, rule.digits)}};
    case EntryCheck::Frequency: {
      const FrequencyEntry f = CheckFrequency(text);
      return {f.valid, {{}, f.mhz}};
    }
    case EntryCheck::StatusName: return {true, {StatusNameStored(text)}};
  }
  return {};
}

bool EntryEditable(const EntryPlace& place) {
  switch (place.field) {
    case DisplayLeft:
    case DisplayRight:
    case RxFrequency:
    case TxFrequency: return place.group == kEXP;
    default: return true;
  }
}

EntryValue StoredEntry(const SettingsRecord& rec, const EntryPlace& place) {
  const Slot slot = SlotOf(const_cast<SettingsRecord&>(rec), place);  // read only
  if (slot.text) return {*slot.text};
  if (slot.mhz) return {{}, *slot.mhz};
  return {};
}

bool StoreEntry(SettingsRecord& rec, const EntryPlace& place, const EntryValue& value) {
  const Slot slot = SlotOf(rec, place);
  if (slot.text) *slot.text = value.text;
  if (slot.mhz) *slot.mhz = value.mhz;
  return slot.text || slot.mhz;
}

std::string ShownText(EntryField field, const EntryValue& value) {
  const std::string& t = value.text;
  switch (field) {
    case UserMmsi:
    case IndividualMmsi:
      if (t.size() == 10 && t.back() == '0') return t.substr(0, 9);
      return t;
    case GroupMmsi:
      if (t.size() == 10 && t.front() == '0' && t.back() == '0') return t.substr(1, 8);
      return t;
    case RxFrequency:
    case TxFrequency: return ExpFrequencyText(value.mhz);
    default: return t;
  }
}

std::string EntryRuleText(EntryField field) {
  constexpr std::string_view kFrequency = ": 137 to 174 MHz on a 25 kHz step, for example 157.025; empty for none.";
  constexpr std::string_view kTagCharacters = "letters, digits, spaces and - / * ( ) + . ,";
  constexpr std::string_view kDisplayCharacters = "digits and A b C d E F H L n P t U G I J o q r S y";
  const auto text = [](std::initializer_list<std::string_view> parts) {
    std::string out;
    for (const std::string_view part : parts) out += part;
    return out;
  };
  switch (field) {
    case UserMmsi: return "UserMMSI: exactly 9 digits, for example 366123456; empty for none.";
    case IndividualMmsi: return "MMSI: exactly 9 digits, for example 366123456; empty for none.";
    case GroupMmsi: return "MMSI: exactly 8 digits after the leading 0, for example 36612345; empty for none.";
    case IndividualName: return text({"Station Name: up to 10 ", kTagCharacters, ", for example SEA WITCH."});
    case GroupName: return text({"Group Name: up to 10 ", kTagCharacters, ", for example FLEET."});
    case AtisCode: return "ATIS Code: exactly 10 digits, for example 9211234567; empty for none.";
    case AtisMid: return "MID: up to 3 digits, for example 211; 7 is kept as 007.";
    case AtisDisp: return "Display: up to 3 letters or digits, for example DEU.";
    case ChannelTag: return text({"CH Name: up to 12 ", kTagCharacters, ", for example BRIDGE."});
    case WeatherTag: return "CH Name: up to 12 characters, for example NOAA WX1.";
    case DisplayLeft: return text({"CH Display: 2 characters the radio can show (", kDisplayCharacters, "), for example 88."});
    case DisplayRight: return text({"CH Display suffix: 1 character the radio can show (", kDisplayCharacters,
                                    "), for example A; empty for none."});
    case RxFrequency: return text({"Rx Frequency", kFrequency});
    case TxFrequency: return text({"Tx Frequency", kFrequency});
    case StatusName: return "Status Name: up to 4 letters, digits, spaces and - + ( ) . * /, for example BOAT.";
  }
  return {};
}

}  // namespace qm47
