// The item lists of the settings pages' drop-down lists, what each item stores, and the
// controls built from them and the record.
#pragma once

#include <string>
#include <vector>

#include "editor/pages/page_controls.h"
#include "model/settings_record.h"

namespace qm47 {

std::vector<ListItem> OnOffItems();        // "Off" 0, "On" 1
std::vector<ListItem> LowHiItems();        // "Low" 0, "Hi" 1
std::vector<ListItem> TxPoDisplayItems();  // index 0..2
std::vector<ListItem> ResumeTimeItems();   // "Off", "1Sec" .. "5Sec": index 0..5
std::vector<ListItem> OffsetItems();       // -12:00 .. +12:00, each storing its half hours
std::vector<ListItem> BearingItems();      // "True", "Mag"
std::vector<ListItem> WeatherAlertItems(); // "Off", "On Wx", "On Scan", "Wx and Scan"

// The group's enabled channels in table order, each storing its position. Expansion
// channel k stores 239 + k, the number the report prints as EXPk.
std::vector<ListItem> PriorityItems(const SettingsRecord& rec, int group);

// The first item whose value is `stored`; -1 when none is.
int ItemWithValue(const std::vector<ListItem>& items, int stored);

// Controls showing the record's value at their place.
ListControl BoundList(const SettingsRecord& rec, std::string name, std::string caption, std::vector<ListItem> items,
                      SettingPlace place);
CheckControl BoundCheck(const SettingsRecord& rec, std::string name, std::string caption, SettingPlace place);
// A text box of the entry rules: name, hint and length from its rule, text as the field shows it.
TextControl BoundText(const SettingsRecord& rec, EntryPlace place, std::string caption, bool inArray);

}  // namespace qm47
