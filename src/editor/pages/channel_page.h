// The channel page of one plan or expansion channel, decided without widgets: every
// control's caption, value and enabled/visible state, and one call per user action.
//
// Wiring a Qt page (gui/): draw the state, forward each click, draw what comes back.
//
//   void ChannelPage::Show(const ChannelPageState& st) {
//     const PageLoading loading(session_.flags);  // toggled/textChanged from Show() store nothing
//     Draw(ui_->chkCDup, st.chkCDup);  // setText(caption), setVisible, setEnabled, setChecked,
//                                      // setStatusTip(hint), help context; its group frame
//                                      // follows `visible`
//     Draw(ui_->txtCRF, ui_->lblCRF, ui_->lblCRFUnit, st.txtCRF);  // text, readOnly -> colour
//     ui_->lineToPowerUp->setColour(st.lineToPowerUp.colour == LineColour::WindowText
//                                       ? palette().windowText() : inactiveTitle);
//     ...
//   }
//   void ChannelPage::Open(ChannelRef ch) { channel_ = ch; Show(*ChannelPageFor(session_, ch)); }
//
//   // Every hand (mouse, key, accessible Toggle) changes the value; Show() does too, quietly.
//   connect(ui_->chkCDup, &QCheckBox::toggled, this, [this](bool on) {
//     const ChannelEditResult r = EditChannel(session_, tree_, channel_, {ChannelControl::Duplex, on});
//     if (r.treeNode) window_.RedrawNodeText(r.treeNode);  // "[Enable]" after CH Enable
//     if (r.page) Show(*r.page);
//   });
//   connect(ui_->cmbScramble, &QComboBox::currentIndexChanged, this, [this](int index) {
//     ... EditChannel(session_, tree_, channel_, {ChannelControl::Scrambler, index}) ...
//   });
//
// The text boxes (txtCN_0/_1, txtCRF, txtCTF, txtCTag) go through entry_events.h with the
// box's `entry` place; a store is session_.Edit(ChannelArea(channel_.group), StoreEntry...).
// The check before a command sees the page as
//   ChannelPageEntry{st.chkCEnable.checked, st.expansion, txtCRF->text(), txtCN_0->text()}.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "editor/pages/control_state.h"
#include "editor/session/session.h"
#include "editor/pages/tree.h"
#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

// The channel a page shows, as the tree's PageRef of a channel node: group kUSA, kINTL or
// kCanada with the list entry from 0, or kEXP with the expansion channel 1..40.
struct ChannelRef {
  int group = kUSA;
  int index = 0;

  bool operator==(const ChannelRef&) const = default;
};

// Table rows with rules of their own.
inline constexpr int kDistressRow = 32;  // channel 16
inline constexpr int kDscRow = 140;      // channel 70

struct ChannelPageState {
  ChannelRef channel;
  bool expansion = false;
  std::string nodeKey;  // "PU32", "E7"

  std::array<TextBoxState, 2> txtCN;  // the display: number, then suffix
  TextBoxState txtCRF;
  TextBoxState txtCTF;
  CheckBoxState chkCEnable;
  CheckBoxState chkCTXEnable;  // hidden on expansion channels, but still holds TxEnable
  CheckBoxState chkCTXOnly;
  CheckBoxState chkCTXPower;
  CheckBoxState chkCDup;
  CheckBoxState chkCScan;
  ListState cmbScramble;
  TextBoxState txtCTag;
  ConnectingLine lineToLowPower;  // from "Tx Enable" to "Low Power Only"
  ConnectingLine lineToPowerUp;   // from "Low Power Only" to "Power Up"
};

// The page for a channel of the record; nothing for a channel that does not exist.
// Expansion frequencies are shown snapped (see ChannelPageFor).
std::optional<ChannelPageState> BuildChannelPage(const SettingsRecord& rec, const ModelDescriptor& model,
                                                 ChannelRef ch);
// The page as it is opened: an expansion channel's stored frequencies are snapped to what
// the boxes show first, which tells the observers but is not an edit.
std::optional<ChannelPageState> ChannelPageFor(Session& s, ChannelRef ch);

// The boxes a plan channel's place in the table greys out whatever its flags say: no
// transmit on a receive-only channel, no duplex without a pair, neither scan nor scrambler
// on channel 70, no scrambler on channel 16.
struct ChannelLocks {
  bool txEnable = false;
  bool duplex = false;
  bool scan = false;
  bool scrambler = false;
};
ChannelLocks PlanChannelLocks(const Channel& ch);

// The record area a channel's edits touch: Channels for the plans, Expansion for kEXP.
unsigned ChannelArea(int group);

// The check boxes and the scrambler list; the text boxes have their entry rules.
enum class ChannelControl { Enable, TxEnable, LowPowerOnly, PowerUp, Duplex, ScanMemory, Scrambler };

struct ChannelEdit {
  ChannelControl control = ChannelControl::Enable;
  int value = 0;  // a check box: 0 or 1; the scrambler list: the item index
};

// The channel after a user change; nothing when the control is hidden or disabled, the
// value is not one it offers, or nothing would change.
std::optional<Channel> ChannelAfterEdit(const SettingsRecord& rec, const ModelDescriptor& model, ChannelRef ch,
                                        ChannelEdit edit);
// The same written into the record; false when nothing changed.
bool ApplyChannelEdit(SettingsRecord& rec, const ModelDescriptor& model, ChannelRef ch, ChannelEdit edit);

struct ChannelEditResult {
  bool applied = false;                 // false while the page is loading, or refused as above
  std::optional<ChannelPageState> page;  // draw it again, applied or not
  int treeNode = 0;                     // a node whose text changed ("[Enable]"), else 0
};
// One user action on the page: through the session's edit call (dirty flag, observers),
// then the channel's node text and the page as they are now.
ChannelEditResult EditChannel(Session& s, NavigationTree& tree, ChannelRef ch, ChannelEdit edit);

}  // namespace qm47
