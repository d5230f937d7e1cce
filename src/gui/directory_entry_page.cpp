#include "gui/directory_entry_page.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "gui/control_view.h"

namespace qm47 {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

DirectoryEntryPage::DirectoryEntryPage(PageContext& context, QWidget* parent)
    : Page(context, parent),
      hints_(context.setHint, this),
      add_(new QCheckBox),
      remove_(new QCheckBox),
      nameLabel_(new QLabel),
      name_(new QLineEdit),
      mmsiLabel_(new QLabel),
      groupDigit_(new QLabel),
      mmsi_(new QLineEdit),
      nameEntry_(new EntryFieldAdapter(*name_, context, *this)),
      mmsiEntry_(new EntryFieldAdapter(*mmsi_, context, *this)) {
  setObjectName("picDirectoryEntry");
  setAccessibleName("Directory entry");
  groupDigit_->setObjectName("lblGroup");
  nameLabel_->setBuddy(name_);
  mmsiLabel_->setBuddy(mmsi_);

  auto* grid = new QGridLayout(this);
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(add_);
  boxes->addSpacing(2 * grid->spacing());
  boxes->addWidget(remove_);
  boxes->addStretch();
  grid->addLayout(boxes, 0, 0, 1, 2);
  grid->addWidget(nameLabel_, 1, 0);
  grid->addWidget(name_, 1, 1, Qt::AlignLeft);
  grid->addWidget(mmsiLabel_, 2, 0);
  auto* mmsi = new QHBoxLayout;
  mmsi->setSpacing(2);
  mmsi->addWidget(groupDigit_);
  mmsi->addWidget(mmsi_);
  mmsi->addStretch();
  grid->addLayout(mmsi, 2, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);

  entries_.Add(nameEntry_);
  entries_.Add(mmsiEntry_);
  // Every change of a box, whoever made it: the program draws its own quietly.
  connect(add_, &QCheckBox::toggled, this, [this](bool on) {
    AddDirectoryEntry(session(), directory_, number_, on);
    Draw(false);
  });
  connect(remove_, &QCheckBox::toggled, this, [this](bool on) {
    // The next entry moves up into this page, or "Delete" is unchecked again after No.
    Draw(DeleteDirectoryEntry(session(), directory_, number_, on));
  });
}

void DirectoryEntryPage::Fill(const PageRef& page) {
  directory_ = page.directory;
  number_ = page.index;
  Draw(true);
}

void DirectoryEntryPage::Draw(bool load) {
  const DirectoryEntryState state = DirectoryEntryFor(session().record, directory_, number_);
  AccessKeys keys(window());
  const auto check = [&](QCheckBox* box, const CheckControl& c) {
    hints_.Describe(box, c, Q(c.caption));
    box->setText(keys.Mark(Q(c.caption)));
    SetQuietly(*box, c.checked);
    box->setEnabled(c.enabled);
  };
  check(add_, state.add);
  check(remove_, state.remove);

  const auto text = [&](QLabel* label, EntryFieldAdapter* entry, const TextControl& c) {
    QLineEdit& box = entry->box();
    label->setText(keys.Mark(Q(c.caption)));
    label->setEnabled(c.enabled);
    FocusHints::Name(&box, c, Q(c.caption));
    FitToCharacters(box, c.maxLength);
    if (load && c.place) entry->Load(*c.place, c.text, false);
    box.setEnabled(c.enabled);
  };
  text(nameLabel_, nameEntry_, state.name);
  text(mmsiLabel_, mmsiEntry_, state.mmsi);
  groupDigit_->setText(Q(state.groupDigit.caption));
  groupDigit_->setVisible(state.groupDigit.visible);
  groupDigit_->setEnabled(state.groupDigit.enabled);
}

void DirectoryEntryPage::ApplyEntry(const EntryOutcome& outcome) { entries_.ApplyEntry(outcome); }

}  // namespace qm47
