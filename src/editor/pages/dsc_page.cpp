#include "editor/pages/setting_edit.h"
#include "editor/pages/setting_lists.h"
#include "editor/pages/settings_pages.h"
#include "link/transfers.h"

namespace qm47 {

namespace {

using enum SettingField;

constexpr const char* kBasic = "Basic Setup";
constexpr const char* kAdvanced = "Advanced Setup";
constexpr const char* kDisplay = "Display Setup";

class DscPageBuilder {
 public:
  DscPageBuilder(const SettingsRecord& rec, SettingsPageState& page) : rec_(rec), page_(page) {}

  ListControl& List(const char* tab, const std::string& name, const char* caption, std::vector<ListItem> items,
                    SettingPlace place, const char* row = "", const char* group = "") {
    ListControl list = BoundList(rec_, name, caption, std::move(items), place);
    list.tab = tab;
    list.row = row;
    list.group = group;
    page_.lists.push_back(std::move(list));
    return page_.lists.back();
  }

  // An on/off list with its Low/Hi companion, which only counts while the call is on.
  void CallPair(const char* tab, const char* name, const char* caption, SettingField onOff, SettingField level,
                int index, const char* row, const char* group) {
    List(tab, ArrayName(name, index), caption, OnOffItems(), {onOff, index}, row, group);
    const std::string levelName = ArrayName(std::string(name) + "TX", index);
    ListControl& tx = List(tab, levelName, "TX", LowHiItems(), {level, index}, row, group);
    tx.enabled = StoredSetting(rec_, {onOff, index}) != 0;
    tx.line = ConnectingLine{true, Lit(tx.enabled)};
  }

  void Button(const char* tab, const std::string& name, const char* row, const char* group, int mode,
              const char* hint) {
    ButtonControl b;
    b.name = name;
    b.caption = "Clear";
    b.row = row;
    b.group = group;
    b.tab = tab;
    b.hint = hint;
    b.transferMode = mode;
    page_.buttons.push_back(std::move(b));
  }

 private:
  const SettingsRecord& rec_;
  SettingsPageState& page_;
};

void BasicTab(const SettingsRecord& rec, const MemoryImage& image, SettingsPageState& page, DscPageBuilder& b) {
  static constexpr const char* kGroups[] = {"USA", "INTL", "Canada"};
  for (int i = 0; i < 3; ++i) {
    b.List(kBasic, ArrayName("cmbUsableDsc", i), kGroups[i], OnOffItems(), {DscGroup, i}, "", "Available DSC CH Group");
  }

  TextControl mmsi = BoundText(rec, {EntryField::UserMmsi, 0}, "UserMMSI", false);
  mmsi.tab = kBasic;
  page.texts.push_back(std::move(mmsi));
  TextControl count;
  count.name = "txtFCount";
  count.caption = "Count";
  count.tab = kBasic;
  // Only the radio's clear resets it; the image carries what was last read.
  count.text = std::to_string(image.GetByte(addr::UserMmsiCount));
  page.texts.push_back(std::move(count));
  b.Button(kBasic, "cmdFClear", "Count", "", transfer_mode::ClearMmsi, kCountClearHint);

  static constexpr const char* kPosRows[] = {"Distress Cancel Call", "Standby Mode", "POS Request", "POS Send"};
  for (int i = 0; i < 4; ++i) {
    b.CallPair(kBasic, "cmbUsableDscPosRequest", kPosRows[i], PosRequest, PosRequestTX, i, kPosRows[i], "");
  }
  page.notes.push_back({kBasic, "", "TX", "(Auto)"});

  static constexpr const char* kBeeps[] = {"Send Distress Alert", "Received All Ships", "Received Indivisual",
                                           "Received Group",      "Received Geografic", "Received POS Request",
                                           "Received POS Send",   "POS Send"};
  for (int i = 0; i < 8; ++i) {
    b.List(kBasic, ArrayName("cmbUsableDscBeepOut", i), kBeeps[i], OnOffItems(), {BeepOut, i}, "", "DSC Beep Output");
  }
}

// The TX columns set the power of the radio's own automatic acknowledgements.
void AdvancedTab(SettingsPageState& page, DscPageBuilder& b) {
  static constexpr const char* kCategories[] = {"Distress", "Urgency", "Safety", "Routine"};
  for (int i = 0; i < 4; ++i) {
    const char* row = kCategories[i];
    b.CallPair(kAdvanced, "cmbUsableDscAllShipsCall", "ALL Ships Call", AllShipsCall, AllShipsCallTX, i, row,
               "ALL Ships Call");
    b.CallPair(kAdvanced, "cmbUsableDscGroupCall", "Group Call", GroupCall, GroupCallTX, i, row, "Group Call");
    b.CallPair(kAdvanced, "cmbUsableDscIndividualCall", "Individual Call", IndividualCall, IndividualCallTX, i, row,
               "Individual Call");
  }
  for (const char* group : {"ALL Ships Call", "Group Call", "Individual Call"}) page.notes.push_back({kAdvanced, group, "TX", "(Auto)"});
  b.List(kAdvanced, "cmbUsableDscDistressRelay", "Distress Relay", OnOffItems(), {DistressRelay, 0});
  // Index 0 runs mode 4, index 1 mode 3: each button is captioned by the log its mode clears.
  b.Button(kAdvanced, ArrayName("cmdFclearLog", 0), "Distress Log", "Log Clear", transfer_mode::ClearDistressLog, "");
  b.Button(kAdvanced, ArrayName("cmdFclearLog", 1), "DSC Log", "Log Clear", transfer_mode::ClearDscLog, "");
}

void DisplayTab(DscPageBuilder& b) {
  static constexpr const char* kMenus[] = {"Individual ACK Menu", "Individual ACK Message Menu",
                                           "POS Request ACK Menu"};
  for (int i = 0; i < 3; ++i) b.List(kDisplay, ArrayName("cmbDscDisplay", i), kMenus[i], OnOffItems(), {DscDisplay, i});
}

}  // namespace

SettingsPageState DscPageFor(const SettingsRecord& rec, const MemoryImage& image) {
  SettingsPageState page;
  page.page = PageKind::Dsc;
  page.tabs = {kBasic, kAdvanced, kDisplay};
  DscPageBuilder b(rec, page);
  BasicTab(rec, image, page, b);
  AdvancedTab(page, b);
  DisplayTab(b);
  return page;
}

}  // namespace qm47
