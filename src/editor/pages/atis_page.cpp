#include "editor/pages/setting_lists.h"
#include "editor/pages/settings_pages.h"

namespace qm47 {

SettingsPageState AtisPageFor(const SettingsRecord& rec) {
  static constexpr const char* kCommon = "Common";
  static constexpr const char* kCallSign = "CallSign";
  static constexpr const char* kGroups[kGroupCount] = {"USA", "INTL", "CANADA", "EXP"};
  SettingsPageState page;
  page.page = PageKind::Atis;
  page.tabs = {kCommon, kCallSign};

  auto boxes = [&](const char* name, const char* group, SettingField field) {
    for (int g = 0; g < kGroupCount; ++g) {
      CheckControl box = BoundCheck(rec, ArrayName(name, g), kGroups[g], {field, g});
      box.group = group;
      box.tab = kCommon;
      page.checks.push_back(std::move(box));
    }
  };
  boxes("chkATISChGroup", "Usable ATIS CH Group", SettingField::AtisGroup);
  boxes("chkATISKiller", "Usable ATIS Killer CH Group", SettingField::KikkerGroup);
  page.notes.push_back({kCommon, "Usable ATIS Killer CH Group", "", "(Able to Comple)"});

  TextControl code = BoundText(rec, {EntryField::AtisCode, 0}, "ATIS Code", false);
  code.tab = kCommon;
  page.texts.push_back(std::move(code));

  for (int i = 0; i < kCallSigns; ++i) {
    const std::string row = "No." + std::to_string(i + 1);
    for (auto [field, caption] : {std::pair{EntryField::AtisMid, "MID"}, std::pair{EntryField::AtisDisp, "Display"}}) {
      TextControl box = BoundText(rec, {field, i}, caption, true);
      box.row = row;
      box.tab = kCallSign;
      page.texts.push_back(std::move(box));
    }
  }
  return page;
}

}  // namespace qm47
