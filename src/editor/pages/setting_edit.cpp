#include "editor/pages/setting_edit.h"

#include <cstdint>

namespace qm47 {

namespace {

using enum SettingField;

// Where a place's value lives; all null when the place is out of range.
struct Slot {
  bool* flag = nullptr;
  std::int16_t* small = nullptr;
  std::int32_t* word = nullptr;
};

template <typename Array>
auto* At(Array& a, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < a.size() ? &a[static_cast<std::size_t>(index)] : nullptr;
}

Slot FlagAt(auto& array, int index) { return {At(array, index)}; }

Slot GroupFlag(SettingsRecord& rec, int index, bool UsableGroupEntry::*member) {
  UsableGroupEntry* g = At(rec.UsableGroup, index);
  return {g ? &(g->*member) : nullptr};
}

Slot SlotOf(SettingsRecord& rec, SettingPlace p) {
  CommonSetupGroup& c = rec.CommonSetup;
  DscBasicGroup& b = rec.DscBasic;
  DscAdvancedGroup& a = rec.DscAdvanced;
  const bool single = p.index == 0;  // fields that are not arrays take index 0 only
  switch (p.field) {
    case Usable: return GroupFlag(rec, p.index, &UsableGroupEntry::Usable);
    case StatusIcon: return GroupFlag(rec, p.index, &UsableGroupEntry::StatusIcon);
    case TxTot: return GroupFlag(rec, p.index, &UsableGroupEntry::TxTot);
    case PriorityCh: {
      UsableGroupEntry* g = At(rec.UsableGroup, p.index);
      return {nullptr, nullptr, g ? &g->PriorityCh : nullptr};
    }
    case TxPoDisplay: return {nullptr, single ? &c.TxPoDisplay : nullptr};
    case Scan: return {single ? &c.Scan : nullptr};
    case ResumeTime: return {nullptr, single ? &c.ResumeTime : nullptr};
    case PttScanClear: return {single ? &c.PttScanClear : nullptr};
    case DualWatch: return {single ? &c.DualWatch : nullptr};
    case OffsetTime: return {nullptr, single ? &c.OffsetTime : nullptr};
    case MagneticVariation: return {nullptr, single ? &c.MagneticVariation : nullptr};
    case Weater: return {nullptr, single ? &c.Weater : nullptr};
    case Rotary: return {single ? &c.Rotary : nullptr};
    case DscGroup: return FlagAt(b.DscGroup, p.index);
    case PosRequest: return FlagAt(b.PosRequest, p.index);
    case PosRequestTX: return FlagAt(b.PosRequestTX, p.index);
    case BeepOut: return FlagAt(b.BeepOut, p.index);
    case AllShipsCall: return FlagAt(a.AllShipsCall, p.index);
    case AllShipsCallTX: return FlagAt(a.AllShipsCallTX, p.index);
    case GroupCall: return FlagAt(a.GroupCall, p.index);
    case GroupCallTX: return FlagAt(a.GroupCallTX, p.index);
    case IndividualCall: return FlagAt(a.IndividualCall, p.index);
    case IndividualCallTX: return FlagAt(a.IndividualCallTX, p.index);
    case DistressRelay: return {single ? &a.DistressRelay : nullptr};
    case DscDisplay: return FlagAt(rec.DscDisplay, p.index);
    case AtisGroup: return FlagAt(rec.AtisCommon.AtisGroup, p.index);
    case KikkerGroup: return FlagAt(rec.AtisCommon.KikkerGroup, p.index);
  }
  return {};
}

unsigned AreaOfField(SettingField f) {
  if (f <= TxTot) return record_area::Usable;
  if (f <= Rotary) return record_area::Common;
  if (f <= DscDisplay) return record_area::Dsc;
  return record_area::Atis;
}

TreeUpdate TreeUpdateOf(SettingField f) {
  if (f == Usable) return TreeUpdate::Nodes;
  // The tree shows a group's status name only while its status icon is off.
  if (f == StatusIcon) return TreeUpdate::StatusNames;
  return TreeUpdate::None;
}

SettingEdit Store(SettingPlace place, int value) {
  return {AreaOfField(place.field), [place, value](SettingsRecord& rec) { StoreSetting(rec, place, value); },
          TreeUpdateOf(place.field)};
}

}  // namespace

int StoredSetting(const SettingsRecord& rec, SettingPlace place) {
  const Slot slot = SlotOf(const_cast<SettingsRecord&>(rec), place);  // read only
  if (slot.flag) return *slot.flag ? 1 : 0;
  if (slot.small) return *slot.small;
  if (slot.word) return *slot.word;
  return 0;
}

bool StoreSetting(SettingsRecord& rec, SettingPlace place, int value) {
  const Slot slot = SlotOf(rec, place);
  if (slot.flag) *slot.flag = value != 0;
  if (slot.small) *slot.small = static_cast<std::int16_t>(value);
  if (slot.word) *slot.word = value;
  return slot.flag || slot.small || slot.word;
}

SettingEdit ItemChosen(const ListControl& list, int item) {
  if (item < 0 || static_cast<std::size_t>(item) >= list.items.size()) return {};
  return Store(list.place, list.items[static_cast<std::size_t>(item)].value);
}

SettingEdit BoxToggled(const CheckControl& box, bool checked) {
  if (!box.place) return {};
  return Store(*box.place, checked ? 1 : 0);
}

unsigned AreaOf(const EntryPlace& place) {
  switch (place.field) {
    case EntryField::UserMmsi: return record_area::Dsc;
    case EntryField::IndividualMmsi:
    case EntryField::GroupMmsi:
    case EntryField::IndividualName:
    case EntryField::GroupName: return record_area::Directories;
    case EntryField::AtisCode:
    case EntryField::AtisMid:
    case EntryField::AtisDisp: return record_area::Atis;
    case EntryField::ChannelTag: return place.group == kEXP ? record_area::Expansion : record_area::Channels;
    case EntryField::WeatherTag: return record_area::Weather;
    case EntryField::DisplayLeft:
    case EntryField::DisplayRight:
    case EntryField::RxFrequency:
    case EntryField::TxFrequency: return record_area::Expansion;
    case EntryField::StatusName: return record_area::Usable;
  }
  return record_area::All;
}

SettingEdit TextStored(const EntryStore& store) {
  return {AreaOf(store.place), [store](SettingsRecord& rec) { StoreEntry(rec, store.place, store.value); },
          store.place.field == EntryField::StatusName ? TreeUpdate::StatusNames : TreeUpdate::None};
}

EditResult ApplyEdit(Session& s, NavigationTree& tree, const SettingEdit& edit) {
  EditResult result;
  if (!edit.apply || !s.Edit(edit.areas, edit.apply)) return result;
  result.applied = true;
  result.areas = edit.areas;
  switch (edit.tree) {
    case TreeUpdate::None: break;
    case TreeUpdate::StatusNames: result.tree.texts = RefreshStatusNames(tree, s.record); break;
    case TreeUpdate::Nodes: result.tree = RefreshTree(tree, s.record, s.model); break;
  }
  return result;
}

}  // namespace qm47
