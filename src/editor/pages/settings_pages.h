// The four settings pages (usable groups, common, DSC, ATIS) as data, and how a window
// page draws them and forwards each user action. The directory pages: directory_pages.h.
//
// A Qt page, sketched. Drawing decides nothing about the radio:
//
//   void SettingsPage::Show() {
//     state_ = SettingsPageFor(session_, kind_);
//     for (const ListControl& c : state_.lists) {
//       auto* box = findChild<QComboBox*>(QString::fromStdString(c.name));
//       const QSignalBlocker quiet(box);
//       box->clear();
//       for (const ListItem& item : c.items) box->addItem(QString::fromStdString(item.text));
//       box->setCurrentIndex(c.selected);  // -1: the stored value matches no item
//       box->setEnabled(c.enabled);        // its buddy label (and connecting line) too
//     }
//     // checks, texts (setReadOnly(t.readOnly()), setMaxLength(t.maxLength)) and buttons alike
//   }
//
// Forwarding: one call per user action, then draw what it says changed.
//
//   connect(box, &QComboBox::activated, this, [this, name](int item) {
//     Apply(ItemChosen(state_.List(name), item));
//   });
//   connect(check, &QCheckBox::clicked, this, [this, name](bool on) {
//     Apply(BoxToggled(state_.Check(name), on));
//   });
//   connect(button, &QPushButton::clicked, this, [this, name] {
//     commands_.ClearRadio(state_.Button(name).transferMode);  // then Show(): "Count" anew
//   });
//   // Text boxes send their events to entry_events.h with state_.Text(name).place; an
//   // outcome's store goes through Apply(TextStored(*outcome.store)).
//
//   void SettingsPage::Apply(const SettingEdit& edit) {
//     const EditResult r = ApplyEdit(session_, window_->tree(), edit);
//     if (!r.applied) return;
//     if (r.tree.rebuilt) window_->RebuildTree();  // then NodeSelection::Follow
//     for (int node : r.tree.texts) window_->RedrawNodeText(node);
//     Show();  // enabling rules follow the new values
//   }
#pragma once

#include "editor/pages/page_controls.h"
#include "editor/session/session.h"
#include "model/memory_image.h"
#include "model/settings_record.h"

namespace qm47 {

// Four rows, USA, INTL, CANADA and EXP CH: chkUsable, txtUsable, cmbUsableSts,
// cmbUsablePri (rebuilt from the group's enabled channels each time), cmbUsableTot.
SettingsPageState UsablePageFor(const SettingsRecord& rec);
SettingsPageState CommonPageFor(const SettingsRecord& rec);
// Tabs "Basic Setup", "Advanced Setup", "Display Setup"; "Count" is the image's User MMSI count.
SettingsPageState DscPageFor(const SettingsRecord& rec, const MemoryImage& image);
// Tabs "Common" and "CallSign".
SettingsPageState AtisPageFor(const SettingsRecord& rec);

// The page of kind Usable, Common, Dsc or Atis; an empty state for any other kind.
SettingsPageState SettingsPageFor(const Session& s, PageKind page);

}  // namespace qm47
