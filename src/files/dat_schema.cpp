#include "files/dat_schema.h"

#include <type_traits>

namespace qm47 {

namespace {

// Ranges a number must fit to be read: what its image field can hold.
constexpr std::int32_t kByteMax = 255;
constexpr std::int32_t kOffsetMagnitudeMax = 31;  // five bits and a sign
constexpr std::int32_t kWordMax = 65535;
constexpr std::int32_t kScrambleMax = 7;  // three bits

constexpr std::string_view kGroupNames[] = {"USA", "INTL", "Canada", "EXP CH"};

// A table row under construction; it becomes a DatKey of the element its accessor takes.
// `Get` is a capture-less lambda (element, index) -> field&.
template <DatKind K, class Get>
struct Row : DatKeyRow {
  constexpr explicit Row(std::string_view name) {
    kind = K;
    key = name;
  }
  constexpr Row Appended(int from, int n) const { return Indexed(DatIndexStyle::Appended, from, n); }
  constexpr Row Spaced(int from, int n) const { return Indexed(DatIndexStyle::Spaced, from, n); }
  constexpr Row Named(std::span<const std::string_view> list) const {
    Row r = Indexed(DatIndexStyle::Named, 0, static_cast<int>(list.size()));
    r.names = list;
    return r;
  }
  constexpr Row Alternating() const {
    Row r = *this;
    r.alternates = true;
    return r;
  }
  constexpr Row Only(DatCondition c) const {
    Row r = *this;
    r.condition = c;
    return r;
  }

  template <class Element>
  constexpr operator DatKey<Element>() const {
    using Field = std::remove_cvref_t<decltype(Get{}(std::declval<Element&>(), std::size_t{}))>;
    static_assert(Fits<Field>(), "the field's type does not fit the key's kind");
    DatKey<Element> k;
    static_cast<DatKeyRow&>(k) = *this;
    k.field = [](Element& e, std::size_t i) -> DatFieldRef { return &Get{}(e, i); };
    k.read = [](const Element& e, std::size_t i) -> DatConstFieldRef { return &Get{}(e, i); };
    return k;
  }

 private:
  constexpr Row Indexed(DatIndexStyle s, int from, int n) const {
    Row r = *this;
    r.style = s;
    r.first = from;
    r.count = n;
    return r;
  }
  template <class Field>
  static constexpr bool Fits() {
    switch (K) {
      case DatKind::Flag:
        return std::is_same_v<Field, bool>;
      case DatKind::Number:
        return std::is_same_v<Field, std::int16_t> || std::is_same_v<Field, std::int32_t>;
      case DatKind::Text:
        return std::is_same_v<Field, std::string>;
      case DatKind::Frequency:
        return std::is_same_v<Field, double>;
      case DatKind::Position:
        return std::is_same_v<Field, std::int16_t>;
    }
    return false;
  }
};

template <class Get>
constexpr Row<DatKind::Flag, Get> Flag(std::string_view key, Get) {
  return Row<DatKind::Flag, Get>(key);
}
// One flag per name of the list, index i named list[i].
template <class Get>
constexpr Row<DatKind::Flag, Get> Flag(std::span<const std::string_view> list, Get) {
  return Row<DatKind::Flag, Get>("").Named(list);
}
template <class Get>
constexpr Row<DatKind::Number, Get> Number(std::string_view key, std::int32_t min, std::int32_t max, Get) {
  Row<DatKind::Number, Get> r(key);
  r.min = min;
  r.max = max;
  return r;
}
template <class Get>
constexpr Row<DatKind::Text, Get> Text(std::string_view key, Get) {
  return Row<DatKind::Text, Get>(key);
}
// Behind "#": leading spaces survive reading.
template <class Get>
constexpr Row<DatKind::Text, Get> Marked(std::string_view key, Get) {
  Row<DatKind::Text, Get> r(key);
  r.marked = true;
  return r;
}
template <class Get>
constexpr Row<DatKind::Frequency, Get> Frequency(std::string_view key, Get) {
  return Row<DatKind::Frequency, Get>(key);
}
template <class Get>
constexpr Row<DatKind::Position, Get> Position(std::string_view key, Get) {
  return Row<DatKind::Position, Get>(key);
}

// The field a key fills in element `e` (the record, or one element of a table) for key
// index `i`; a macro keeps each row of the tables below on one line.
#define DAT_FIELD(path) [](auto& e, [[maybe_unused]] auto i) -> auto& { return e.path; }

constexpr auto kScrambler = DatCondition::ModelHasScrambler;

constexpr DatKey<SettingsRecord> kUsableGroups[] = {
    Flag(kGroupNames, DAT_FIELD(UsableGroup[i].Usable)),
    Flag("TX TOT", DAT_FIELD(UsableGroup[i].TxTot)).Spaced(0, kGroupCount),
    Number("Priority CH", 0, kWordMax, DAT_FIELD(UsableGroup[i].PriorityCh)).Spaced(0, kGroupCount),
    Flag("Status Icon", DAT_FIELD(UsableGroup[i].StatusIcon)).Spaced(0, kGroupCount),
    Text("Status name", DAT_FIELD(UsableGroup[i].StatusName)).Spaced(0, kGroupCount),
};

constexpr DatKey<SettingsRecord> kCommonSetup[] = {
    Number("TX Po Display", 0, kByteMax, DAT_FIELD(CommonSetup.TxPoDisplay)),
    Flag("SCAN", DAT_FIELD(CommonSetup.Scan)),
    Number("Resume Time", 0, kByteMax, DAT_FIELD(CommonSetup.ResumeTime)),
    Flag("PTT SCAN Clear", DAT_FIELD(CommonSetup.PttScanClear)),
    Flag("Dual Watch", DAT_FIELD(CommonSetup.DualWatch)),
    Number("Offset Time", -kOffsetMagnitudeMax, kOffsetMagnitudeMax, DAT_FIELD(CommonSetup.OffsetTime)),
    Number("Magnetic Variation", 0, kByteMax, DAT_FIELD(CommonSetup.MagneticVariation)),
    Number("Weater", 0, kByteMax, DAT_FIELD(CommonSetup.Weater)),
    Flag("Rotary", DAT_FIELD(CommonSetup.Rotary)),
};

constexpr DatKey<SettingsRecord> kDscBasic[] = {
    Flag(std::span(kGroupNames).first(kRegionCount), DAT_FIELD(DscBasic.DscGroup[i])),
    Marked("User MMSI", DAT_FIELD(DscBasic.UserMmsi)),
    Flag("PosRequest", DAT_FIELD(DscBasic.PosRequest[i])).Appended(0, 4),
    Flag("PosRequestTX", DAT_FIELD(DscBasic.PosRequestTX[i])).Appended(0, 4).Alternating(),
    Flag("BeepOut", DAT_FIELD(DscBasic.BeepOut[i])).Appended(0, 8),
};

constexpr DatKey<SettingsRecord> kDscAdvanced[] = {
    Flag("All Ships Call", DAT_FIELD(DscAdvanced.AllShipsCall[i])).Appended(0, 4),
    Flag("All Ships CallTX", DAT_FIELD(DscAdvanced.AllShipsCallTX[i])).Appended(0, 4).Alternating(),
    Flag("Group Call", DAT_FIELD(DscAdvanced.GroupCall[i])).Appended(0, 4),
    Flag("Group CallTX", DAT_FIELD(DscAdvanced.GroupCallTX[i])).Appended(0, 4).Alternating(),
    Flag("Individual Call", DAT_FIELD(DscAdvanced.IndividualCall[i])).Appended(0, 4),
    Flag("Individual CallTX", DAT_FIELD(DscAdvanced.IndividualCallTX[i])).Appended(0, 4).Alternating(),
    Flag("Distress Relay", DAT_FIELD(DscAdvanced.DistressRelay)),
};

constexpr DatKey<SettingsRecord> kDscDisplay[] = {
    Flag("Individual ACK Menu", DAT_FIELD(DscDisplay[0])),
    Flag("Individual ACK Message Menu", DAT_FIELD(DscDisplay[1])),
    Flag("POS Request ACK Menu", DAT_FIELD(DscDisplay[2])),
};

constexpr DatKey<SettingsRecord> kAtisCommon[] = {
    Flag("Usable ATIS CH Group", DAT_FIELD(AtisCommon.AtisGroup[i])).Appended(0, 4),
    Marked("Atis Code", DAT_FIELD(AtisCommon.AtisCode)),
    Flag("Usable ATIS Kikker CH Group", DAT_FIELD(AtisCommon.KikkerGroup[i])).Appended(0, 4),
};

// Call signs are numbered from 1.
constexpr DatKey<SettingsRecord> kAtisCallSigns[] = {
    Text("MID", DAT_FIELD(AtisCallSign[i - 1].MID)).Appended(1, kCallSigns),
    Text("DISP", DAT_FIELD(AtisCallSign[i - 1].DISP)).Appended(1, kCallSigns).Alternating(),
};

constexpr DatRecordSection kRecordSections[] = {
    {"Usable CH Group Setup", DatCondition::Always, kUsableGroups},
    {"Common Setup", DatCondition::Always, kCommonSetup},
    {"DSC Setup (Basic Setup)", DatCondition::Always, kDscBasic},
    {"DSC Setup (Advanced Setup)", DatCondition::Always, kDscAdvanced},
    {"DSC Setup (Display Setup)", DatCondition::Always, kDscDisplay},
    {"ATIS Setup (Common)", DatCondition::ModelHasAtis, kAtisCommon},
    {"ATIS Setup (Call Sign)", DatCondition::ModelHasAtis, kAtisCallSigns},
};

constexpr DatKey<Channel> kRegionChannel[] = {
    Position("Position", DAT_FIELD(Position)),
    Flag("Enable", DAT_FIELD(Enable)),
    Flag("LowPower", DAT_FIELD(LowPower)),
    Flag("PowUp", DAT_FIELD(PowUp)),
    Flag("Duplex", DAT_FIELD(Duplex)),
    Flag("TxEnable", DAT_FIELD(TxEnable)),
    Flag("DispayA", DAT_FIELD(DispayA)),
    Flag("ScanMemory", DAT_FIELD(ScanMemory)),
    Number("Scramble", 0, kScrambleMax, DAT_FIELD(Scramble)).Only(kScrambler),
    Marked("ChTag", DAT_FIELD(ChTag)),
};

constexpr DatKey<Channel> kWeatherChannel[] = {
    Flag("Enable", DAT_FIELD(Enable)),
    Flag("ScanMemory", DAT_FIELD(ScanMemory)),
    Marked("ChTag", DAT_FIELD(ChTag)),
};

constexpr DatKey<DirectoryEntry> kDirectoryEntry[] = {
    Flag("Enable", DAT_FIELD(InUse)),
    Marked("TagName", DAT_FIELD(TagName)),
    Text("Mmsid", DAT_FIELD(Mmsid)),
};

constexpr DatKey<Channel> kExpansionChannel[] = {
    Flag("Enable", DAT_FIELD(Enable)),
    Text("CHDisplayL", DAT_FIELD(CHDisplayL)),
    Text("CHDisplayR", DAT_FIELD(CHDisplayR)),
    Frequency("Rxfreq", DAT_FIELD(Rxfreq)),
    Frequency("Txfreq", DAT_FIELD(Txfreq)),
    Flag("LowPower", DAT_FIELD(LowPower)),
    Flag("PowUp", DAT_FIELD(PowUp)),
    Flag("ScanMemory", DAT_FIELD(ScanMemory)),
    Number("Scramble", 0, kScrambleMax, DAT_FIELD(Scramble)).Only(kScrambler),
    Marked("ChTag", DAT_FIELD(ChTag)),
};

#undef DAT_FIELD

// The element type of a record table: Channel for &SettingsRecord::CHWX.
template <auto Table>
using ElementOf = typename std::remove_cvref_t<decltype(std::declval<SettingsRecord&>().*Table)>::value_type;

// Sections for the elements of the record table `Table`, numbered from `firstNumber`.
template <auto Table>
constexpr DatNumberedSections<ElementOf<Table>> ByNumber(std::string_view prefix, int firstNumber,
                                                         std::span<const DatKey<ElementOf<Table>>> keys) {
  using Elements = std::vector<ElementOf<Table>>;
  DatNumberedSections<ElementOf<Table>> s;
  s.prefix = prefix;
  s.firstNumber = firstNumber;
  s.table = [](SettingsRecord& r) -> Elements& { return r.*Table; };
  s.readTable = [](const SettingsRecord& r) -> const Elements& { return r.*Table; };
  s.keys = keys;
  return s;
}

// Region channels: numbered from 0, placed by their Position.
template <auto Table>
constexpr auto ByPosition(std::string_view prefix, std::span<const DatKey<Channel>> keys) {
  auto s = ByNumber<Table>(prefix, 0, keys);
  s.placedByPosition = true;
  return s;
}

constexpr DatTableSections kTables[] = {
    ByPosition<&SettingsRecord::CHUSA>("CHUSA", kRegionChannel),
    ByPosition<&SettingsRecord::CHINT>("CHINT", kRegionChannel),
    ByPosition<&SettingsRecord::CHCAN>("CHCAN", kRegionChannel),
    ByNumber<&SettingsRecord::CHWX>("CHWX", 0, kWeatherChannel),
    ByNumber<&SettingsRecord::CHMMSID>("CHMMSID", 1, kDirectoryEntry),
    ByNumber<&SettingsRecord::CHGRPID>("CHGRPID", 1, kDirectoryEntry),
    ByNumber<&SettingsRecord::CHEXP>("CHEXP", 1, kExpansionChannel),
};

}  // namespace

bool DatApplies(DatCondition condition, const ModelDescriptor& model) {
  switch (condition) {
    case DatCondition::ModelHasAtis:
      return model.atis;
    case DatCondition::ModelHasScrambler:
      return model.scrambler;
    case DatCondition::Always:
      break;
  }
  return true;
}

void DatKeyName(const DatKeyRow& row, int i, std::string& out) {
  if (row.style == DatIndexStyle::Named) {
    out.assign(row.names[static_cast<std::size_t>(i)]);
    return;
  }
  out.assign(row.key);
  if (row.style == DatIndexStyle::Spaced) out += ' ';
  if (row.style != DatIndexStyle::None) out += std::to_string(i);
}

std::span<const DatRecordSection> DatRecordSections() { return kRecordSections; }
std::span<const DatTableSections> DatTables() { return kTables; }

}  // namespace qm47
