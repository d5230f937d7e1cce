#include "editor/pages/setting_lists.h"
#include "editor/pages/settings_pages.h"

namespace qm47 {

SettingsPageState CommonPageFor(const SettingsRecord& rec) {
  using enum SettingField;
  SettingsPageState page;
  page.page = PageKind::Common;
  auto add = [&](const char* group, const char* name, const char* caption, std::vector<ListItem> items,
                 SettingField field) {
    ListControl list = BoundList(rec, name, caption, std::move(items), {field, 0});
    list.group = group;
    page.lists.push_back(std::move(list));
  };
  add("Starting TX Mode", "cmbCommonTXPo", "TX Po Display", TxPoDisplayItems(), TxPoDisplay);
  add("Scanning Function", "cmbCommonScan", "SCAN", OnOffItems(), Scan);
  add("Scanning Function", "cmbCommonResume", "Resume Time", ResumeTimeItems(), ResumeTime);
  add("Scanning Function", "cmbCommonPTTSCAN", "PTT SCAN Clear", OnOffItems(), PttScanClear);
  add("Dual Watch Function", "cmbCommonDual", "Dual Watch", OnOffItems(), DualWatch);
  add("NMEA Data Input", "cmbCommonOffset", "Offset Time", OffsetItems(), OffsetTime);
  add("NMEA Data Input", "cmbCommonMag", "Magnetic Variation", BearingItems(), MagneticVariation);
  add("Weather CH Function", "cmbCommonWeater", "Weather Alert", WeatherAlertItems(), Weater);
  add("Weather CH Function", "cmbCommonRotary", "Rotary Beep", OnOffItems(), Rotary);

  // Resume time and PTT clear only mean something while scanning is on; their values stay.
  for (ListControl& list : page.lists) {
    if (list.place.field == ResumeTime || list.place.field == PttScanClear) list.enabled = rec.CommonSetup.Scan;
  }
  return page;
}

}  // namespace qm47
