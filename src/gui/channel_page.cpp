#include "gui/channel_page.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <map>
#include <string_view>

namespace qm47 {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Access keys, clear of the menu bar's F, E, T, D, O and H.
QChar AccessKey(std::string_view control) {
  static const std::map<std::string_view, QChar> keys{
      {"txtCN_0", 'i'},     {"txtCRF", 'R'},    {"txtCTF", 'x'},      {"chkCEnable", 'C'},
      {"chkCTXEnable", 'l'}, {"chkCTXOnly", 'w'}, {"chkCTXPower", 'U'}, {"chkCDup", 'p'},
      {"chkCScan", 'S'},    {"cmbScramble", 'm'}, {"txtCTag", 'N'},
  };
  const auto it = keys.find(control);
  return it == keys.end() ? QChar() : it->second;
}

QFrame* Separator() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

QLineEdit* Box(const char* name) {
  auto* box = new QLineEdit;
  box->setObjectName(name);
  return box;
}

QLabel* Label(const char* name, QWidget* buddy = nullptr) {
  auto* label = new QLabel;
  label->setObjectName(name);
  label->setBuddy(buddy);
  return label;
}

QCheckBox* Check(const char* name) {
  auto* box = new QCheckBox;
  box->setObjectName(name);
  return box;
}

}  // namespace

ChannelPage::ChannelPage(PageContext& context, QWidget* parent)
    : Page(context, parent), hints_(new FocusHintFilter(context.setHint, this)) {
  setObjectName("picChannel");
  FillScrolling(*this, BuildControls());

  // Every change of a value, whoever made it: the program draws its own quietly.
  const auto onToggled = [this](QCheckBox* box, ChannelControl control) {
    connect(box, &QCheckBox::toggled, this, [this, control](bool on) { Edit(control, on ? 1 : 0); });
  };
  onToggled(chkCEnable_, ChannelControl::Enable);
  onToggled(chkCTXEnable_, ChannelControl::TxEnable);
  onToggled(chkCTXOnly_, ChannelControl::LowPowerOnly);
  onToggled(chkCTXPower_, ChannelControl::PowerUp);
  onToggled(chkCDup_, ChannelControl::Duplex);
  onToggled(chkCScan_, ChannelControl::ScanMemory);
  connect(cmbScramble_, &QComboBox::currentIndexChanged, this,
          [this](int index) { Edit(ChannelControl::Scrambler, index); });
}

// Laid out in the order of the record: display and frequencies, the enable and power
// boxes (each dependent box indented under the one it needs), then scrambler and name.
QWidget* ChannelPage::BuildControls() {
  auto* controls = new QWidget;
  auto* form = new QGridLayout(controls);
  const auto entry = [this](QLineEdit* box) {
    auto* adapter = new EntryFieldAdapter(*box, context(), *this);
    entries_.Add(adapter);
    return adapter;
  };

  auto* display = new QHBoxLayout;
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (int i = 0; i < 2; ++i) {
    QLineEdit* box = Box(i == 0 ? "txtCN_0" : "txtCN_1");
    box->setFont(fixed);
    box->setAlignment(Qt::AlignCenter);
    FitWidth(*box, i == 0 ? "88" : "8");
    txtCN_[static_cast<std::size_t>(i)] = entry(box);
    display->addWidget(box);
  }
  display->addStretch();
  lblCN_ = Label("lblCN", &txtCN_[0]->box());
  form->addWidget(lblCN_, 0, 0);
  form->addLayout(display, 0, 1, 1, 2);

  const auto frequency = [&](int row, const char* name, QLabel*& label, EntryFieldAdapter*& box, QLabel*& unit,
                             const char* labelName, const char* unitName) {
    QLineEdit* edit = Box(name);
    FitWidth(*edit, "000.0000");
    box = entry(edit);
    label = Label(labelName, edit);
    unit = Label(unitName);
    form->addWidget(label, row, 0);
    form->addWidget(edit, row, 1, Qt::AlignLeft);
    form->addWidget(unit, row, 2);
  };
  frequency(1, "txtCRF", lblCRF_, txtCRF_, lblCRFUnit_, "lblCRF", "lblCRFUnit");
  frequency(2, "txtCTF", lblCTF_, txtCTF_, lblCTFUnit_, "lblCTF", "lblCTFUnit");
  form->addWidget(Separator(), 3, 0, 1, 3);

  chkCEnable_ = Check("chkCEnable");
  form->addWidget(chkCEnable_, 4, 0, 1, 3);

  // Tx Enable, then Low Power Only and Power Up, each hanging from the one above.
  auto* power = new QGridLayout;
  power->setSpacing(0);
  power->setVerticalSpacing(form->verticalSpacing());
  chkCTXEnable_ = Check("chkCTXEnable");
  lineToLowPower_ = new ConnectorLine;
  lineToLowPower_->setObjectName("lineToLowPower");
  chkCTXOnly_ = Check("chkCTXOnly");
  lineToPowerUp_ = new ConnectorLine;
  lineToPowerUp_->setObjectName("lineToPowerUp");
  chkCTXPower_ = Check("chkCTXPower");
  power->addWidget(chkCTXEnable_, 0, 0, 1, 3);
  power->addWidget(lineToLowPower_, 1, 0);
  power->addWidget(chkCTXOnly_, 1, 1, 1, 2);
  power->addWidget(lineToPowerUp_, 2, 1);
  power->addWidget(chkCTXPower_, 2, 2);
  power->setColumnStretch(2, 1);
  form->addLayout(power, 5, 0, 1, 3);

  chkCDup_ = Check("chkCDup");
  chkCScan_ = Check("chkCScan");
  form->addWidget(chkCDup_, 6, 0, 1, 3);
  form->addWidget(chkCScan_, 7, 0, 1, 3);
  form->addWidget(Separator(), 8, 0, 1, 3);

  cmbScramble_ = new QComboBox;
  cmbScramble_->setObjectName("cmbScramble");
  cmbScramble_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  lblScramble_ = Label("lblScramble", cmbScramble_);
  form->addWidget(lblScramble_, 9, 0);
  form->addWidget(cmbScramble_, 9, 1, Qt::AlignLeft);

  QLineEdit* tag = Box("txtCTag");
  FitWidth(*tag, QString(RuleFor(EntryField::ChannelTag).maxLength, 'M'));
  txtCTag_ = entry(tag);
  lblCTag_ = Label("lblCTag", tag);
  form->addWidget(lblCTag_, 10, 0);
  form->addWidget(tag, 10, 1, 1, 2, Qt::AlignLeft);

  form->setColumnStretch(3, 1);
  form->setRowStretch(11, 1);

  for (QCheckBox* box : {chkCEnable_, chkCTXEnable_, chkCTXOnly_, chkCTXPower_, chkCDup_, chkCScan_})
    hints_->Watch(*box, kCheckBoxHint);
  hints_->Watch(*cmbScramble_, kListHint);
  return controls;
}

void ChannelPage::Fill(const PageRef& page) {
  channel_ = {page.group, page.index};
  if (const std::optional<ChannelPageState> state = ChannelPageFor(session(), channel_)) Draw(*state, true);
}

void ChannelPage::Draw(const ChannelPageState& state, bool fresh) {
  state_ = state;
  DrawText(*txtCN_[0], lblCN_, nullptr, state.txtCN[0], fresh);
  DrawText(*txtCN_[1], nullptr, nullptr, state.txtCN[1], fresh);
  DrawText(*txtCRF_, lblCRF_, lblCRFUnit_, state.txtCRF, fresh);
  DrawText(*txtCTF_, lblCTF_, lblCTFUnit_, state.txtCTF, fresh);
  DrawText(*txtCTag_, lblCTag_, nullptr, state.txtCTag, fresh);

  DrawCheck(*chkCEnable_, state.chkCEnable);
  DrawCheck(*chkCTXEnable_, state.chkCTXEnable);
  DrawCheck(*chkCTXOnly_, state.chkCTXOnly);
  DrawCheck(*chkCTXPower_, state.chkCTXPower);
  DrawCheck(*chkCDup_, state.chkCDup);
  DrawCheck(*chkCScan_, state.chkCScan);
  lineToLowPower_->Draw(state.lineToLowPower);
  lineToPowerUp_->Draw(state.lineToPowerUp);

  const ListState& list = state.cmbScramble;
  DrawControl(*cmbScramble_, list);
  QStringList items;
  for (const std::string& item : list.items) items << Text(item);
  const QSignalBlocker quiet(cmbScramble_);
  if (cmbScramble_->count() != items.size()) {
    cmbScramble_->clear();
    cmbScramble_->addItems(items);
  }
  cmbScramble_->setCurrentIndex(list.index);
  lblScramble_->setText(WithAccessKey(list.caption, AccessKey(list.name)));
  lblScramble_->setVisible(list.visible);
  lblScramble_->setEnabled(list.enabled);
}

void ChannelPage::DrawText(EntryFieldAdapter& entry, QLabel* label, QLabel* unit, const TextBoxState& state,
                           bool fresh) {
  // A redraw after a click keeps what is being typed for its check; a disabled box holds no entry.
  if (fresh || !entry.pending() || !state.enabled) entry.Load(state.entry, state.text, state.readOnly);
  DrawControl(entry.box(), state);
  for (QLabel* beside : {label, unit}) {
    if (!beside) continue;
    beside->setVisible(state.visible);
    beside->setEnabled(state.enabled);
  }
  if (label) label->setText(WithAccessKey(state.caption, AccessKey(state.name)));
  if (unit) unit->setText(Text(state.unit));
}

void ChannelPage::DrawCheck(QCheckBox& box, const CheckBoxState& state) {
  DrawControl(box, state);
  box.setText(WithAccessKey(state.caption, AccessKey(state.name)));
  SetQuietly(box, state.checked);
}

void ChannelPage::Edit(ChannelControl control, int value) {
  // The node's "[Enable]" mark follows through the window, which watches the record.
  const ChannelEditResult result = EditChannel(session(), context().tree, channel_, {control, value});
  if (result.page) Draw(*result.page, false);
}

EntryWindowState ChannelPage::PendingEntry() const {
  EntryWindowState window = entries_.PendingEntry();
  window.channelPage = ChannelPageEntry{state_.chkCEnable.checked, state_.expansion,
                                        txtCRF_->box().text().toStdString(), txtCN_[0]->box().text().toStdString()};
  return window;
}

void ChannelPage::ApplyEntry(const EntryOutcome& outcome) { entries_.ApplyEntry(outcome); }

}  // namespace qm47
