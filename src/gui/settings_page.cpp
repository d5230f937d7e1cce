#include "gui/settings_page.h"

#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/control_view.h"

namespace qm47 {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

void DrawList(QComboBox* box, const ListControl& list) {
  QStringList items;
  for (const ListItem& item : list.items) items << Q(item.text);
  QStringList shown;
  for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
  const QSignalBlocker quiet(box);
  if (items != shown) {
    box->clear();
    box->addItems(items);
  }
  box->setCurrentIndex(list.selected);  // -1: the stored value matches no item
}

}  // namespace

SettingsPage::SettingsPage(PageContext& context, PageKind kind, const QString& objectName, const QString& title,
                           QWidget* parent)
    : Page(context, parent), kind_(kind), hints_(context.setHint, this) {
  setObjectName(objectName);
  setAccessibleName(title);
  new QVBoxLayout(this);
  layout()->setContentsMargins(0, 0, 0, 0);
}

// The controls are built on the first fill, when the window's menu bar (whose access
// keys the page leaves alone) exists.
void SettingsPage::Build() {
  form_ = BuildSettingsForm(state_, context(), this, hints_);
  layout()->addWidget(form_.root);
  for (auto& [name, entry] : form_.entries) entries_.Add(entry);
  Connect();
}

void SettingsPage::Connect() {
  // Every change of a value, whoever made it: the program draws its own quietly.
  for (auto& [name, box] : form_.lists) {
    connect(box, &QComboBox::currentIndexChanged, this,
            [this, name = name](int item) { Apply(ItemChosen(state_.List(name), item)); });
  }
  for (auto& [name, box] : form_.checks) {
    connect(box, &QCheckBox::toggled, this,
            [this, name = name](bool on) { Apply(BoxToggled(state_.Check(name), on)); });
  }
  for (auto& [name, button] : form_.buttons) {
    connect(button, &QPushButton::clicked, this, [this, name = name] {
      context().commands.ClearRadio(state_.Button(name).transferMode);
      Draw(true);  // "Count" as the radio now has it
    });
  }
}

void SettingsPage::Fill(const PageRef& /*page*/) {
  state_ = SettingsPageFor(session(), kind_);
  if (!form_.root) Build();
  Draw(true);
}

void SettingsPage::Draw(bool load) {
  state_ = SettingsPageFor(session(), kind_);
  const auto follow = [this](const ControlState& c, QWidget* control) {
    control->setEnabled(c.enabled);
    control->setVisible(c.visible);
    if (const auto it = form_.labels.find(c.name); it != form_.labels.end()) {
      it->second->setEnabled(c.enabled);
      it->second->setVisible(c.visible);
    }
  };
  for (const ListControl& list : state_.lists) {
    QComboBox* box = form_.lists.at(list.name);
    DrawList(box, list);
    follow(list, box);
    if (list.line) form_.lines.at(list.name)->Draw(*list.line);
  }
  for (const CheckControl& check : state_.checks) {
    QCheckBox* box = form_.checks.at(check.name);
    SetQuietly(*box, check.checked);
    follow(check, box);
  }
  for (const TextControl& text : state_.texts) {
    QLineEdit* box = form_.texts.at(text.name);
    if (load && text.place) {
      form_.entries.at(text.name)->Load(*text.place, text.text, false);
    } else if (load) {
      box->setText(QString::fromStdString(text.text));
      box->setReadOnly(true);
      QPalette colours = palette();
      colours.setBrush(QPalette::Base, colours.button());
      box->setPalette(colours);
    }
    follow(text, box);
  }
  for (const ButtonControl& button : state_.buttons) follow(button, form_.buttons.at(button.name));
}

void SettingsPage::Apply(const SettingEdit& edit) {
  // The window follows the record itself (tree, hex dump); the page draws its rules anew,
  // and puts back what an edit that was not taken had changed on a control.
  ApplyEdit(session(), context().tree, edit);
  Draw(false);
}

void SettingsPage::ApplyEntry(const EntryOutcome& outcome) { entries_.ApplyEntry(outcome); }

}  // namespace qm47
