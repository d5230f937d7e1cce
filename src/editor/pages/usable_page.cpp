#include "editor/pages/setting_lists.h"
#include "editor/pages/settings_pages.h"

namespace qm47 {

SettingsPageState UsablePageFor(const SettingsRecord& rec) {
  static constexpr const char* kRows[kGroupCount] = {"USA", "INTL", "CANADA", "EXP CH"};
  using enum SettingField;
  SettingsPageState page;
  page.page = PageKind::Usable;
  for (int g = 0; g < kGroupCount; ++g) {
    const UsableGroupEntry& entry = rec.UsableGroup[static_cast<std::size_t>(g)];

    CheckControl usable = BoundCheck(rec, ArrayName("chkUsable", g), kRows[g], {Usable, g});
    usable.row = kRows[g];
    page.checks.push_back(std::move(usable));

    TextControl name = BoundText(rec, {EntryField::StatusName, g}, "Status Name", true);
    name.row = kRows[g];
    // The radio shows either the name or the icon.
    name.enabled = entry.Usable && !entry.StatusIcon;
    page.texts.push_back(std::move(name));

    ListControl icon = BoundList(rec, ArrayName("cmbUsableSts", g), "Status Icon", OnOffItems(), {StatusIcon, g});
    ListControl priority =
        BoundList(rec, ArrayName("cmbUsablePri", g), "Priority CH", PriorityItems(rec, g), {PriorityCh, g});
    ListControl tot = BoundList(rec, ArrayName("cmbUsableTot", g), "TX TOT", OnOffItems(), {TxTot, g});
    for (ListControl* list : {&icon, &priority, &tot}) {
      list->row = kRows[g];
      list->enabled = entry.Usable;
      page.lists.push_back(std::move(*list));
    }
  }
  return page;
}

}  // namespace qm47
