#include "editor/pages/setting_lists.h"

#include "editor/pages/setting_edit.h"
#include "report/value_format.h"

namespace qm47 {

namespace {

constexpr int kFirstExpNumber = kRegionPositions;  // expansion channel k is 239 + k

// Items that store their own index.
std::vector<ListItem> Indexed(std::initializer_list<const char*> texts) {
  std::vector<ListItem> items;
  for (const char* t : texts) items.push_back({t, static_cast<int>(items.size())});
  return items;
}

}  // namespace

std::vector<ListItem> OnOffItems() { return Indexed({"Off", "On"}); }
std::vector<ListItem> LowHiItems() { return Indexed({"Low", "Hi"}); }
std::vector<ListItem> TxPoDisplayItems() { return Indexed({"Lo Po Only", "Lo Po on Changing CH", "Last TX Po"}); }
std::vector<ListItem> ResumeTimeItems() { return Indexed({"Off", "1Sec", "2Sec", "3Sec", "4Sec", "5Sec"}); }
std::vector<ListItem> BearingItems() { return Indexed({"True", "Mag"}); }
std::vector<ListItem> WeatherAlertItems() { return Indexed({"Off", "On Wx", "On Scan", "Wx and Scan"}); }

std::vector<ListItem> OffsetItems() {
  std::vector<ListItem> items;
  const auto& texts = OffsetList();
  for (std::size_t i = 0; i < texts.size(); ++i) items.push_back({texts[i], static_cast<int>(i) - 24});
  return items;
}

std::vector<ListItem> PriorityItems(const SettingsRecord& rec, int group) {
  std::vector<ListItem> items;
  if (group < kUSA || group > kEXP) return items;
  const auto& table = rec.GroupTable(group);
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (!table[i].Enable) continue;
    const int value = group == kEXP ? kFirstExpNumber + static_cast<int>(i) : table[i].Position;
    items.push_back({PriorityChannelText(value), value});
  }
  return items;
}

int ItemWithValue(const std::vector<ListItem>& items, int stored) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].value == stored) return static_cast<int>(i);
  }
  return -1;
}

ListControl BoundList(const SettingsRecord& rec, std::string name, std::string caption, std::vector<ListItem> items,
                      SettingPlace place) {
  ListControl list;
  list.name = std::move(name);
  list.caption = std::move(caption);
  list.hint = kListHint;
  list.selected = ItemWithValue(items, StoredSetting(rec, place));
  list.items = std::move(items);
  list.place = place;
  return list;
}

CheckControl BoundCheck(const SettingsRecord& rec, std::string name, std::string caption, SettingPlace place) {
  CheckControl box;
  box.name = std::move(name);
  box.caption = std::move(caption);
  box.hint = kCheckBoxHint;
  box.checked = StoredSetting(rec, place) != 0;
  box.place = place;
  return box;
}

TextControl BoundText(const SettingsRecord& rec, EntryPlace place, std::string caption, bool inArray) {
  const EntryFieldRule& rule = RuleFor(place.field);
  TextControl box;
  box.name = inArray ? ArrayName(rule.control, place.index) : std::string(rule.control);
  box.caption = std::move(caption);
  box.hint = rule.hint;
  box.maxLength = rule.maxLength;
  box.text = ShownText(place.field, StoredEntry(rec, place));
  box.place = place;
  return box;
}

}  // namespace qm47
