#include "editor/radio/program_review.h"

#include <cstdio>
#include <map>
#include <set>
#include <string_view>

#include "link/transfers.h"
#include "model/builtin_tables.h"
#include "model/codec.h"
#include "model/text.h"

namespace qm47 {

namespace {

// More differing bytes than this are a radio that kept next to nothing; naming the
// settings is enough then, and looking at each byte would keep the user waiting.
constexpr std::size_t kBytesLookedAt = 512;

// Decoded over the session's record: its channel tables hold the built-in frequencies
// the image has no room for.
SettingsRecord Decoded(const Session& s, const MemoryImage& image) {
  SettingsRecord rec = s.record;
  DecodeImage(image, rec);
  return rec;
}

std::string Hex(unsigned value, int digits) {
  char text[8];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// The number after `prefix` in `section`, or -1.
int Numbered(const std::string& section, std::string_view prefix) {
  if (section.size() <= prefix.size() || section.compare(0, prefix.size(), prefix) != 0) return -1;
  const std::string digits = section.substr(prefix.size());
  if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 4) return -1;
  return std::stoi(digits);
}

bool IsDirectory(const std::string& section) {
  return Numbered(section, "CHMMSID") >= 0 || Numbered(section, "CHGRPID") >= 0;
}

// A channel, weather, expansion or directory row: shown on a page of list entries.
bool OnListPage(const std::string& section) {
  return IsDirectory(section) || (section.rfind("CH", 0) == 0 && section.find_first_of("0123456789") != std::string::npos);
}

std::string ShownSection(const std::string& section) {
  static const std::pair<const char*, const char*> kPlans[] = {{"CHUSA", "USA"}, {"CHINT", "INTL"}, {"CHCAN", "CANADA"}};
  for (const auto& [prefix, group] : kPlans) {
    const int position = Numbered(section, prefix);
    const auto& channels = BuiltinChannels();
    if (position >= 0 && static_cast<std::size_t>(position) < channels.size())
      return std::string(group) + " CH" + channels[static_cast<std::size_t>(position)].label;
  }
  const auto& weather = BuiltinWeather();
  if (const int row = Numbered(section, "CHWX"); row >= 0 && static_cast<std::size_t>(row) < weather.size())
    return "Weather " + weather[static_cast<std::size_t>(row)].label.substr(0, 4);  // "WX01"
  if (const int n = Numbered(section, "CHEXP"); n >= 0) return "EXP" + std::to_string(n);
  if (const int n = Numbered(section, "CHMMSID"); n >= 0) return "Individual Directory " + std::to_string(n);
  if (const int n = Numbered(section, "CHGRPID"); n >= 0) return "Group Directory " + std::to_string(n);
  return section;
}

std::string ShownKey(const std::string& section, const std::string& key) {
  static const std::map<std::string, std::string, std::less<>> kChannel = {
      {"Enable", "CH Enable"},      {"TxEnable", "Tx Enable"},   {"LowPower", "Low Power Only"},
      {"PowUp", "Power Up"},        {"ScanMemory", "Scan Memory"}, {"Scramble", "Scrambler"},
      {"ChTag", "CH Name"},         {"Rxfreq", "Rx Frequency"},  {"Txfreq", "Tx Frequency"},
      {"CHDisplayL", "CH Display"}, {"CHDisplayR", "CH Display suffix"}};
  static const std::map<std::string, std::string, std::less<>> kDirectory = {
      {"Enable", "In use"}, {"TagName", "Name"}, {"Mmsid", "MMSI"}};
  if (!OnListPage(section)) return key;
  const auto& names = IsDirectory(section) ? kDirectory : kChannel;
  const auto it = names.find(key);
  return it == names.end() ? key : it->second;
}

// MMSIs are kept as ten figures; a person typed nine. A list page's check box is On or Off.
std::string ShownValue(const std::string& section, const std::string& key, const std::string& value) {
  const bool mmsi = key == "Mmsid" || key == "User MMSI";
  if (mmsi && value.size() == 10 && value.back() == '0') return value.substr(0, 9);
  static const std::set<std::string, std::less<>> kBoxes = {"Enable", "TxEnable", "LowPower", "PowUp", "ScanMemory"};
  if (OnListPage(section) && kBoxes.contains(key) && (value == "0" || value == "1")) return value == "1" ? "On" : "Off";
  return value;
}

}  // namespace

SettingChange ShownChange(const SettingChange& c) {
  return {ShownSection(c.section), ShownKey(c.section, c.key), ShownValue(c.section, c.key, c.before),
          ShownValue(c.section, c.key, c.after)};
}

MemoryImage ImageToProgram(const Session& s) {
  MemoryImage image = s.image;
  PrepareImageForExport(s.record, image, s.model.number);
  return image;
}

std::vector<SettingChange> PendingChanges(const Session& s) {
  if (!s.radioImage) return {};
  return DiffSettings(Decoded(s, *s.radioImage), Decoded(s, ImageToProgram(s)), s.model);
}

std::string WritesOfAll(int writes) {
  return std::to_string(writes) + (writes == 1 ? " write" : " writes") + " of " + std::to_string(WritePlan{}.requests());
}

std::string MmsiLossWarning(const Session& s) {
  if (!s.radioImage) return "";
  const std::string held = Decoded(s, *s.radioImage).DscBasic.UserMmsi;
  if (Trimmed(held).empty() || !Trimmed(Decoded(s, ImageToProgram(s)).DscBasic.UserMmsi).empty()) return "";
  // Stored with a tenth digit 0; the nine figures are the MMSI as it was entered.
  const std::string mmsi = held.size() == 10 && held.back() == '0' ? held.substr(0, 9) : held;
  return "The radio's own MMSI " + mmsi + " will be erased: the settings to program hold none.";
}

ProgramReview ReviewProgram(const Session& s, bool changedOnly, bool checkWrittenOnly) {
  ProgramReview review;
  review.changes = PendingChanges(s);
  review.warning = MmsiLossWarning(s);
  if (!changedOnly || !s.radioImage) {
    review.plan = "Every setting is written (" + std::to_string(WritePlan{}.requests()) +
                  " writes), then every block is read back to check it.";
    return review;
  }
  const WritePlan plan = ChangedWritePlan(*s.radioImage, ImageToProgram(s));
  review.offersWrittenCheck = true;
  review.checkWrittenOnly = checkWrittenOnly;
  const std::string check = checkWrittenOnly ? "the written blocks are read back" : "the whole radio is read back";
  const std::string nothing = "Nothing differs from the radio as last read, so nothing is written";
  review.plan = plan.empty() ? (checkWrittenOnly ? nothing + " or read back." : nothing + "; the whole radio is read back.")
                             : "Only what differs from the radio as last read is written (" + WritesOfAll(plan.requests()) +
                                   "), then " + check + ".";
  return review;
}

std::vector<SettingChange> UnkeptSettings(const Session& s, const MemoryImage& sent, const MemoryImage& radio) {
  const SettingsRecord wanted = Decoded(s, sent);
  const SettingsRecord held = Decoded(s, radio);
  std::vector<SettingChange> unkept = DiffSettings(wanted, held, s.model);
  // A byte no setting covers changes neither image's settings when swapped alone. Both
  // ways: a byte after a name's end counts only in the image where the name is longer.
  const auto changes = [&](const MemoryImage& image, Address a, std::uint8_t value, const SettingsRecord& rec) {
    MemoryImage probe = image;
    probe.SetByte(a, value);
    return Decoded(s, probe) != rec;
  };
  std::size_t looked = 0;
  for (Address a = 0; a < kImageSize && looked < kBytesLookedAt; ++a) {
    if (!IsSettingsAddress(a) || sent.GetByte(a) == radio.GetByte(a)) continue;
    ++looked;
    if (changes(sent, a, radio.GetByte(a), wanted) || changes(radio, a, sent.GetByte(a), held)) continue;
    unkept.push_back({"image byte", "0x" + Hex(static_cast<unsigned>(a), 4), Hex(sent.GetByte(a), 2),
                      Hex(radio.GetByte(a), 2)});
  }
  return unkept;
}

}  // namespace qm47
