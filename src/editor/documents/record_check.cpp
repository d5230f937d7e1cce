#include "editor/documents/record_check.h"

#include <cmath>
#include <cstdio>
#include <functional>

#include "editor/pages/channel_texts.h"
#include "editor/pages/entry_rules.h"
#include "editor/pages/setting_lists.h"
#include "files/settings_diff.h"
#include "model/codec.h"
#include "model/fresh_image.h"

namespace qm47 {

namespace {

bool Offers(const std::vector<ListItem>& items, int value) { return ItemWithValue(items, value) >= 0; }

std::string Range(const std::vector<ListItem>& items) {
  std::string text;
  for (const ListItem& item : items) text += (text.empty() ? "" : ", ") + item.text;
  return text;
}

// A text box's value: its characters and length, then its own check.
bool TextFits(EntryField field, const std::string& text) {
  std::u32string wide(text.begin(), text.end());
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  if (static_cast<int>(text.size()) > RuleFor(field).maxLength) return false;
  return AcceptsText(field, wide);
}

// An MMSI written as typed (a hand-edited file) takes the form the pages store.
void StoreTypedMmsi(std::string& mmsi, int digits, EntryField field) {
  if (static_cast<int>(mmsi.size()) == digits && TextFits(field, mmsi)) mmsi = MmsiStored(mmsi, digits);
}

// A stored MMSI: empty, or what `digits` typed digits are stored as.
bool MmsiFits(const std::string& stored, int digits, EntryField field) {
  if (stored.empty()) return true;
  const std::string shown = ShownText(field, {stored, 0});
  return static_cast<int>(shown.size()) == digits && TextFits(field, shown) && MmsiStored(shown, digits) == stored;
}

bool FrequencyFits(double mhz) {
  if (mhz == 0) return true;
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", mhz);
  const FrequencyEntry f = CheckFrequency(text);
  return f.valid && std::fabs(f.mhz - mhz) < 1e-9;
}

// The reason and the page's name for a value the pages refuse, by its .dat key.
struct Rule {
  std::string field;
  std::string reason;
};

// A text box's rule as its page words it: "CH Name: up to 12 ..." split at the colon.
Rule BoxRule(EntryField field) {
  const std::string text = EntryRuleText(field);
  const auto colon = text.find(": ");
  return {text.substr(0, colon), text.substr(colon + 2)};
}

Rule RuleOfKey(const std::string& section, const std::string& key) {
  const auto starts = [&](const std::string& text, const char* stem) { return text.rfind(stem, 0) == 0; };
  const bool group = starts(section, "CHGRPID");
  if (starts(key, "TX Po Display")) return {"TX Power Display", "the page offers " + Range(TxPoDisplayItems())};
  if (starts(key, "Resume Time")) return {"Resume Time", "the page offers " + Range(ResumeTimeItems())};
  if (starts(key, "Offset Time")) return {"Offset Time", "the page offers -12:00 to +12:00 in half hours (-24..24)"};
  if (starts(key, "Magnetic Variation")) return {"Bearing", "the page offers " + Range(BearingItems())};
  if (starts(key, "Weater")) return {"Weather Alert", "the page offers " + Range(WeatherAlertItems())};
  if (starts(key, "Scramble")) return {"Scrambler", "the page offers Off and 0 to 3 (0..7 as stored)"};
  if (starts(key, "Status name")) return BoxRule(EntryField::StatusName);
  if (starts(key, "User MMSI")) return BoxRule(EntryField::UserMmsi);
  if (starts(key, "Atis Code")) return BoxRule(EntryField::AtisCode);
  if (starts(key, "MID")) return BoxRule(EntryField::AtisMid);
  if (starts(key, "DISP")) return BoxRule(EntryField::AtisDisp);
  if (starts(key, "ChTag")) return BoxRule(starts(section, "CHWX") ? EntryField::WeatherTag : EntryField::ChannelTag);
  if (starts(key, "TagName")) return BoxRule(group ? EntryField::GroupName : EntryField::IndividualName);
  if (starts(key, "Mmsid")) return BoxRule(group ? EntryField::GroupMmsi : EntryField::IndividualMmsi);
  if (starts(key, "CHDisplayL")) return BoxRule(EntryField::DisplayLeft);
  if (starts(key, "CHDisplayR")) return BoxRule(EntryField::DisplayRight);
  if (starts(key, "Rxfreq")) return BoxRule(EntryField::RxFrequency);
  if (starts(key, "Txfreq")) return BoxRule(EntryField::TxFrequency);
  return {key, "not a value the pages offer"};
}

// MMSIs written as typed take the form the pages store: the same number, nothing to tell.
void StoreTypedForms(SettingsRecord& rec) {
  StoreTypedMmsi(rec.DscBasic.UserMmsi, 9, EntryField::UserMmsi);
  for (DirectoryEntry& e : rec.CHMMSID) StoreTypedMmsi(e.Mmsid, 9, EntryField::IndividualMmsi);
  for (DirectoryEntry& e : rec.CHGRPID) StoreTypedMmsi(e.Mmsid, 8, EntryField::GroupMmsi);
}

// Puts every value the pages refuse back to the fresh setting.
void MendPageRules(SettingsRecord& rec, const SettingsRecord& fresh, const ModelDescriptor& model) {
  auto& c = rec.CommonSetup;
  const auto& fc = fresh.CommonSetup;
  if (!Offers(TxPoDisplayItems(), c.TxPoDisplay)) c.TxPoDisplay = fc.TxPoDisplay;
  if (!Offers(ResumeTimeItems(), c.ResumeTime)) c.ResumeTime = fc.ResumeTime;
  if (!Offers(OffsetItems(), c.OffsetTime)) c.OffsetTime = fc.OffsetTime;
  if (!Offers(BearingItems(), c.MagneticVariation)) c.MagneticVariation = fc.MagneticVariation;
  if (!Offers(WeatherAlertItems(), c.Weater)) c.Weater = fc.Weater;

  for (std::size_t g = 0; g < rec.UsableGroup.size(); ++g) {
    std::string& name = rec.UsableGroup[g].StatusName;
    if (!TextFits(EntryField::StatusName, name) || StatusNameStored(name) != name) {
      name = fresh.UsableGroup[g].StatusName;
    }
  }
  if (!MmsiFits(rec.DscBasic.UserMmsi, 9, EntryField::UserMmsi)) rec.DscBasic.UserMmsi = fresh.DscBasic.UserMmsi;

  if (model.atis) {
    std::string& code = rec.AtisCommon.AtisCode;
    if (!code.empty() && !(code.size() == 10 && TextFits(EntryField::AtisCode, code))) {
      code = fresh.AtisCommon.AtisCode;
    }
    for (std::size_t i = 0; i < rec.AtisCallSign.size(); ++i) {
      auto& sign = rec.AtisCallSign[i];
      if (!TextFits(EntryField::AtisMid, sign.MID)) sign.MID = fresh.AtisCallSign[i].MID;
      if (!TextFits(EntryField::AtisDisp, sign.DISP)) sign.DISP = fresh.AtisCallSign[i].DISP;
    }
  }

  const auto channels = [&](std::vector<Channel>& table, const std::vector<Channel>& base, bool expansion) {
    for (std::size_t i = 0; i < table.size() && i < base.size(); ++i) {
      Channel& ch = table[i];
      if (!TextFits(EntryField::ChannelTag, ch.ChTag)) ch.ChTag = base[i].ChTag;
      if (model.scrambler && (ch.Scramble < 0 || ch.Scramble > 7)) ch.Scramble = base[i].Scramble;
      if (!expansion) continue;
      if (!TextFits(EntryField::DisplayLeft, ch.CHDisplayL)) ch.CHDisplayL = base[i].CHDisplayL;
      if (!TextFits(EntryField::DisplayRight, ch.CHDisplayR)) ch.CHDisplayR = base[i].CHDisplayR;
      if (!FrequencyFits(ch.Rxfreq)) ch.Rxfreq = base[i].Rxfreq;
      if (!FrequencyFits(ch.Txfreq)) ch.Txfreq = base[i].Txfreq;
    }
  };
  channels(rec.CHUSA, fresh.CHUSA, false);
  channels(rec.CHINT, fresh.CHINT, false);
  channels(rec.CHCAN, fresh.CHCAN, false);
  channels(rec.CHEXP, fresh.CHEXP, true);
  for (std::size_t i = 0; i < rec.CHWX.size() && i < fresh.CHWX.size(); ++i) {
    if (static_cast<int>(rec.CHWX[i].ChTag.size()) > RuleFor(EntryField::WeatherTag).maxLength) {
      rec.CHWX[i].ChTag = fresh.CHWX[i].ChTag;
    }
  }

  const auto directory = [&](std::vector<DirectoryEntry>& dir, const std::vector<DirectoryEntry>& base,
                             EntryField name, EntryField mmsi, int digits) {
    for (std::size_t i = 0; i < dir.size() && i < base.size(); ++i) {
      if (!TextFits(name, dir[i].TagName)) dir[i].TagName = base[i].TagName;
      if (!MmsiFits(dir[i].Mmsid, digits, mmsi)) dir[i].Mmsid = base[i].Mmsid;
    }
  };
  directory(rec.CHMMSID, fresh.CHMMSID, EntryField::IndividualName, EntryField::IndividualMmsi, 9);
  directory(rec.CHGRPID, fresh.CHGRPID, EntryField::GroupName, EntryField::GroupMmsi, 8);
}

// The record as the radio would hold it: through the memory image and back.
SettingsRecord AsStored(const SettingsRecord& rec, int modelNumber) {
  MemoryImage image;
  MakeFreshImage(image, modelNumber);
  PrepareImageForExport(rec, image, modelNumber);
  SettingsRecord decoded = rec;
  DecodeImage(image, decoded);
  return decoded;
}

void Add(std::vector<ValueProblem>& out, const std::vector<SettingChange>& changes, bool pageRule) {
  for (const SettingChange& c : changes) {
    const Rule rule = RuleOfKey(c.section, c.key);
    out.push_back({c.section, c.key, rule.field, c.before, c.after,
                   pageRule ? rule.reason : "the radio's memory cannot hold it as written (characters or length)"});
  }
}

}  // namespace

RecordCheck CheckRecord(const SettingsRecord& rec, const ModelDescriptor& model) {
  SettingsRecord fresh;
  MemoryImage freshImage;
  NewImageData(fresh, freshImage, model.number);

  SettingsRecord typed = rec;
  StoreTypedForms(typed);
  RecordCheck check{{}, typed};
  MendPageRules(check.mended, fresh, model);
  Add(check.problems, DiffSettings(typed, check.mended, model), true);
  const SettingsRecord stored = AsStored(check.mended, model.number);
  const std::vector<SettingChange> unheld = DiffSettings(check.mended, stored, model);
  Add(check.problems, unheld, false);
  // Fields no page shows stay as they came.
  if (!unheld.empty()) check.mended = stored;
  return check;
}

std::string OpenReportText(const OpenReport& report, std::size_t maxLines) {
  std::string text = report.incomplete.empty() ? "" : report.incomplete + "\n";
  if (report.problems.size() <= maxLines) return text + ValueProblemsText(report.problems);
  const std::vector<ValueProblem> shown(report.problems.begin(),
                                        report.problems.begin() + static_cast<std::ptrdiff_t>(maxLines));
  return text + ValueProblemsText(shown) + "... and " + std::to_string(report.problems.size() - maxLines) +
         " more\n";
}

std::string ValueProblemsText(const std::vector<ValueProblem>& problems) {
  std::string text;
  for (const ValueProblem& p : problems) {
    text += "[" + p.section + "] " + p.key;
    if (!p.field.empty() && p.field != p.key) text += " (" + p.field + ")";
    text += ": \"" + p.value + "\" -> \"" + p.kept + "\": " + p.reason + "\n";
  }
  return text;
}

}  // namespace qm47
