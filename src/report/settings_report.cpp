#include "report/settings_report.h"

#include "model/builtin_tables.h"
#include "model/memory_map.h"
#include "report/value_format.h"

namespace qm47 {

namespace {

constexpr int kLabel = 35;
constexpr int kValue = 18;

class SectionBuilder {
 public:
  SectionBuilder(ReportPart part, const std::string& title) : section_{part, {}} {
    Empty();
    Line({{"##### " + title + " #####"}});
  }
  void Empty() { section_.lines.emplace_back(); }
  void Line(ReportLine line) { section_.lines.push_back(std::move(line)); }
  // The first sub-header follows the heading; later ones get an empty line first.
  void SubHeader(const std::string& text) {
    if (subHeaders_++ > 0) Empty();
    Line({{text}});
  }
  void Row(const std::string& label, std::initializer_list<ReportCell> cells) {
    ReportLine line{{label, kLabel}};
    line.insert(line.end(), cells);
    Line(std::move(line));
  }
  ReportSection Take() { return std::move(section_); }

 private:
  ReportSection section_;
  int subHeaders_ = 0;
};

ReportCell Value(std::string text, int width = kValue) { return {std::move(text), width}; }

// Group header row: "" then USA, INTL, Canada, EXP CH.
ReportLine GroupHeaderRow() {
  return {{"", kLabel}, {"USA", kValue}, {"INTL", kValue}, {"Canada", kValue}, {"EXP CH", kValue}};
}

template <typename Get>
ReportLine GroupRow(const std::string& label, int groups, Get get) {
  ReportLine line{{label, kLabel}};
  for (int i = 0; i < groups; ++i) line.push_back(Value(get(static_cast<std::size_t>(i))));
  return line;
}

ReportSection UsableGroups(const SettingsRecord& rec, ReportForm form) {
  SectionBuilder b(ReportPart::UsableGroups, "Usable CH Group Setup");
  const auto& g = rec.UsableGroup;
  b.Line(GroupHeaderRow());
  b.Line(GroupRow("Enable", kGroupCount, [&](std::size_t i) { return OnOffText(g[i].Usable); }));
  b.Line(GroupRow("TX TOT", kGroupCount, [&](std::size_t i) { return OnOffText(g[i].TxTot); }));
  b.Line(GroupRow("Priority CH", kRegionCount, [&](std::size_t i) { return PriorityChannelText(g[i].PriorityCh); }));
  b.Line(GroupRow("Status Icon", kGroupCount, [&](std::size_t i) { return OnOffText(g[i].StatusIcon); }));
  const std::string nameLabel = form == ReportForm::Printed ? "Status name" : "Status Name";
  b.Line(GroupRow(nameLabel, kGroupCount, [&](std::size_t i) { return BlankAsDashes(g[i].StatusName); }));
  return b.Take();
}

ReportSection CommonSetup(const SettingsRecord& rec) {
  SectionBuilder b(ReportPart::CommonSetup, "Common Setup");
  const CommonSetupGroup& c = rec.CommonSetup;
  b.SubHeader("[Starting TX Mode]");
  b.Row("TX Po Display:", {Value(TxPowerDisplayText(c.TxPoDisplay), kLabel)});
  b.SubHeader("[Scanning Function]");
  b.Row("SCAN:", {Value(OnOffText(c.Scan))});
  b.Row("Resume Time:", {Value(ResumeTimeText(c.ResumeTime))});
  b.Row("PTT SCAN Clear:", {Value(OnOffText(c.PttScanClear))});
  b.Row("Dual Watch:", {Value(OnOffText(c.DualWatch))});
  b.SubHeader("[NMEA Data Input]");
  b.Row("Offset Time:", {Value(OffsetTimeText(c.OffsetTime))});
  b.Row("Magnetic Variation:", {Value(BearingText(c.MagneticVariation))});
  b.SubHeader("[Weather CH Function]");
  b.Row("Weather Alert:", {Value(WeatherAlertText(c.Weater), kLabel)});
  b.Row("Rotary Beep:", {Value(OnOffText(c.Rotary))});
  return b.Take();
}

ReportSection DscBasic(const SettingsRecord& rec, int mmsiCount, ReportForm form) {
  SectionBuilder b(ReportPart::DscBasic, "DSC Setup (Basic Setup)");
  const DscBasicGroup& d = rec.DscBasic;
  b.SubHeader("[Available DSC CH Group]");
  b.Row("USA:", {Value(OnOffText(d.DscGroup[0]), 20)});
  b.Row("INTL:", {Value(OnOffText(d.DscGroup[1]), 20)});
  b.Row("Canada:", {Value(OnOffText(d.DscGroup[2]), 20)});
  b.Empty();
  const std::string countLabel = form == ReportForm::Printed ? " Count" : "Count";
  b.Row("User MMSI:", {Value(d.UserMmsi, 12), {"-----"}, {" "}, {LabelCell(countLabel, 7)}, {std::to_string(mmsiCount)}});
  b.Row("Distress Cancel Call:", {Value(OnOffText(d.PosRequest[0]))});
  b.Row("Stanby Mode:", {Value(OnOffText(d.PosRequest[1]))});
  b.Row("POS Request:", {Value(OnOffText(d.PosRequest[2])), Value(HiLowText(d.PosRequestTX[2]))});
  b.Row("POS Send:", {Value(OnOffText(d.PosRequest[3])), Value(HiLowText(d.PosRequestTX[3]))});
  b.SubHeader("[DSC Beep Output]");
  static const char* const kBeeps[] = {"Send Distress Alert:", "Received All Ships:",   "Received Individual:",
                                       "Received Group:",      "Received Geografic:",   "Received POS Request:",
                                       "Received POS Send:"};
  for (std::size_t i = 0; i < std::size(kBeeps); ++i) b.Row(kBeeps[i], {Value(OnOffText(d.BeepOut[i]))});
  return b.Take();
}

ReportSection DscAdvanced(const SettingsRecord& rec, ReportForm form) {
  SectionBuilder b(ReportPart::DscAdvanced, "DSC Setup (Advanced Setup)");
  const DscAdvancedGroup& a = rec.DscAdvanced;
  const bool printed = form == ReportForm::Printed;
  const struct {
    const char* header;
    const std::array<bool, 4>& call;
    const std::array<bool, 4>& tx;
  } blocks[] = {{"[All Ships Call]", a.AllShipsCall, a.AllShipsCallTX},
                {"[Group Call]", a.GroupCall, a.GroupCallTX},
                {printed ? "[Indivisual Call]" : "[Individual Call]", a.IndividualCall, a.IndividualCallTX}};
  static const char* const kCategories[] = {"Distress:", "Urgency:", "Safty:", "Routine:"};
  for (const auto& block : blocks) {
    b.SubHeader(block.header);
    for (std::size_t i = 0; i < 4; ++i) {
      b.Row(kCategories[i], {Value(OnOffText(block.call[i])), Value(HiLowText(block.tx[i]))});
    }
  }
  b.SubHeader("[Distress Relay]");
  b.Row(printed ? "Distress Relay" : "Distress Relay:", {Value(OnOffText(a.DistressRelay))});
  return b.Take();
}

ReportSection DscDisplay(const SettingsRecord& rec) {
  SectionBuilder b(ReportPart::DscDisplay, "DSC Setup (Display Setup)");
  b.Row("Individual ACK Menu:", {Value(OnOffText(rec.DscDisplay[0]))});
  b.Row("Individual ACK Message Menu:", {Value(OnOffText(rec.DscDisplay[1]))});
  b.Row("POS Request ACK Menu:", {Value(OnOffText(rec.DscDisplay[2]))});
  return b.Take();
}

ReportSection AtisCommon(const SettingsRecord& rec) {
  SectionBuilder b(ReportPart::AtisCommon, "ATIS Setup (Common)");
  const AtisCommonGroup& t = rec.AtisCommon;
  b.Line(GroupHeaderRow());
  b.Line(GroupRow("Usable ATIS CH Group:", kGroupCount, [&](std::size_t i) { return OnOffText(t.AtisGroup[i]); }));
  b.Row("ATIS Code:", {Value(t.AtisCode)});
  b.Line(GroupRow("Usable ATIS Killer CH Group:", kGroupCount,
                  [&](std::size_t i) { return OnOffText(t.KikkerGroup[i]); }));
  return b.Take();
}

ReportSection AtisCallSign(const SettingsRecord& rec) {
  SectionBuilder b(ReportPart::AtisCallSign, "ATIS Setup (Call Sign)");
  b.Line({{"", 10}, {"MID", 10}, {"Display", 18}, {"", 10}, {"MID", 10}, {"Display", 10}});
  constexpr int kHalf = kCallSigns / 2;
  for (int i = 1; i <= kHalf; ++i) {
    const AtisCallSignEntry& left = rec.AtisCallSign[static_cast<std::size_t>(i - 1)];
    const AtisCallSignEntry& right = rec.AtisCallSign[static_cast<std::size_t>(i + kHalf - 1)];
    b.Line({{"No." + std::to_string(i), 10},
            {left.MID, 10},
            {left.DISP, 20},
            {"No." + std::to_string(i + kHalf), 10},
            {right.MID, 10},
            {right.DISP, 10}});
  }
  return b.Take();
}

// Column titles and their rules share the widths of the rows below them.
void ColumnHeader(SectionBuilder& b, std::initializer_list<const char*> titles, std::initializer_list<const char*> rules,
                  std::initializer_list<int> widths) {
  ReportLine header, rule;
  auto w = widths.begin();
  auto r = rules.begin();
  for (const char* title : titles) {
    const bool last = w + 1 == widths.end();
    header.push_back({title, last ? 0 : *w});
    rule.push_back({*r, last ? 0 : *w});
    ++w;
    ++r;
  }
  b.Line(std::move(header));
  b.Line(std::move(rule));
}

ReportSection RegionChannels(const std::vector<Channel>& table, ReportPart part, const std::string& title) {
  SectionBuilder b(part, title);
  ColumnHeader(b, {"CH", "RX(MHz)", "TX(MHz)", "TX", "LOW", "UP", "DUP", "MEM", "VS", "CH Name"},
               {"---", "-------", "-------", "--", "---", "--", "---", "---", "--", "------------"},
               {5, 9, 9, 4, 5, 4, 5, 5, 4, 12});
  const auto& builtin = BuiltinChannels();
  for (const Channel& ch : table) {
    if (!ch.Enable) continue;
    BuiltinChannel entry;  // a position outside the list shows no label and no frequencies
    if (ch.Position >= 0 && static_cast<std::size_t>(ch.Position) < builtin.size()) {
      entry = builtin[static_cast<std::size_t>(ch.Position)];
    }
    b.Line({{entry.label, 5},
            {FrequencyText(ch.Duplex ? entry.duplexRx : entry.rx), 9},
            {FrequencyOrInhibitText(entry.tx, ch.RxOnly), 9},
            {TxText(ch.TxEnable), 4},
            {LowText(ch.LowPower), 5},
            {UpText(ch.PowUp), 4},
            {DupText(ch.Duplex), 5},
            {MemText(ch.ScanMemory), 5},
            {ScrambleText(ch.Scramble), 4},
            {ch.ChTag, 12}});
  }
  return b.Take();
}

ReportSection WxChannels(const SettingsRecord& rec, ReportForm form) {
  SectionBuilder b(ReportPart::WxChannels,
                   form == ReportForm::Printed ? "Programable WX Channel" : "Programable Wx Channel");
  ColumnHeader(b, {"CH", "ENABLE", "MEM", "CH Name"}, {"--", "------", "---", "------------"}, {4, 8, 5, 12});
  for (std::size_t i = 0; i < rec.CHWX.size(); ++i) {
    const Channel& ch = rec.CHWX[i];
    b.Line({{std::to_string(i + 1), 4}, {EnableText(ch.Enable), 8}, {MemText(ch.ScanMemory), 5}, {ch.ChTag, 12}});
  }
  return b.Take();
}

ReportSection Directory(const std::vector<DirectoryEntry>& dir, ReportPart part, const std::string& title,
                        const char* nameTitle) {
  SectionBuilder b(part, title);
  ColumnHeader(b, {"No.", nameTitle, "MMSI"}, {"---", "------------", "---------"}, {5, 14, 9});
  for (std::size_t k = 0; k < dir.size(); ++k) {
    b.Line({{std::to_string(k + 1), 5}, {Pad12OrDashes(dir[k].TagName), 14}, {Pad9OrDashes(dir[k].Mmsid), 9}});
  }
  return b.Take();
}

ReportSection ExpChannels(const SettingsRecord& rec, ReportForm form) {
  SectionBuilder b(ReportPart::ExpChannels,
                   form == ReportForm::Printed ? "Programable EXP Channel" : "Programable Exp Channel");
  ColumnHeader(b, {"CH", "CHD", "ENABLE", "RX(MHz)", "TX(MHz)", "LOW", "UP", "MEM", "VS", "CH Name"},
               {"--", "---", "------", "--------", "--------", "---", "--", "---", "--", "------------"},
               {4, 5, 8, 10, 10, 5, 4, 5, 4, 12});
  for (std::size_t k = 0; k < rec.CHEXP.size(); ++k) {
    const Channel& ch = rec.CHEXP[k];
    const std::string right = " " + ch.CHDisplayR;
    const std::string display = (ch.CHDisplayL + "  ").substr(0, 2) + right.back();
    std::string rx = ExpFrequencyText(ch.Rxfreq);
    std::string tx = ExpFrequencyText(ch.Txfreq);
    b.Line({{std::to_string(k + 1), 4},
            {Pad3OrDashes(display), 5},
            {EnableText(ch.Enable), 8},
            {std::move(rx), 10},
            {std::move(tx), 10},
            {LowText(ch.LowPower), 5},
            {UpText(ch.PowUp), 4},
            {MemText(ch.ScanMemory), 5},
            {ScrambleText(ch.Scramble), 4},
            {Pad12OrDashes(ch.ChTag), 12}});
  }
  return b.Take();
}

}  // namespace

std::vector<ReportSection> BuildReportSections(const SettingsRecord& rec, int mmsiCount, ReportForm form) {
  const bool printed = form == ReportForm::Printed;
  std::vector<ReportSection> sections;
  sections.push_back(UsableGroups(rec, form));
  sections.push_back(CommonSetup(rec));
  sections.push_back(DscBasic(rec, mmsiCount, form));
  sections.push_back(DscAdvanced(rec, form));
  sections.push_back(DscDisplay(rec));
  sections.push_back(AtisCommon(rec));
  sections.push_back(AtisCallSign(rec));
  sections.push_back(RegionChannels(rec.CHUSA, ReportPart::UsaChannels, "Programable USA Channel"));
  sections.push_back(RegionChannels(rec.CHINT, ReportPart::IntlChannels, "Programable International Channel"));
  sections.push_back(RegionChannels(rec.CHCAN, ReportPart::CanadaChannels, "Programable Canada Channel"));
  sections.push_back(WxChannels(rec, form));
  sections.push_back(Directory(rec.CHMMSID, ReportPart::MemoryId, printed ? "Memory ID" : "Memory ID Setting",
                               "Station Name"));
  sections.push_back(Directory(rec.CHGRPID, ReportPart::GroupId, printed ? "Group ID" : "Group ID Setting",
                               "Group Name"));
  sections.push_back(ExpChannels(rec, form));
  return sections;
}

std::string LineText(const ReportLine& line) {
  std::string text;
  for (const ReportCell& cell : line) text += cell.width > 0 ? Pad(cell.text, cell.width) : cell.text;
  return text;
}

std::string ReportTextImage(const SettingsRecord& rec, const MemoryImage& img) {
  std::string text;
  for (const ReportSection& section : BuildReportSections(rec, img.GetByte(addr::UserMmsiCount), ReportForm::TextImage)) {
    for (const ReportLine& line : section.lines) {
      text += "\r\n";
      text += LineText(line);
    }
  }
  return text;
}

std::string ReportFileText(const std::string& textImage) { return textImage + "\r\n"; }

}  // namespace qm47
