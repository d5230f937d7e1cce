#include "gui/weather_page.h"

#include <QEvent>
#include <QGridLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace qm47 {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// "WX0&1[162.550MHz]": the channel's last digit is the row's access key (Alt+0 for WX10).
QString RowCaption(const std::string& caption) {
  QString text = Text(caption).replace("&", "&&");
  const qsizetype bracket = text.indexOf('[');
  if (bracket > 0) text.insert(bracket - 1, '&');
  return text;
}

std::string Indexed(const char* name, int row) { return std::string(name) + "_" + std::to_string(row); }

}  // namespace

WeatherPage::WeatherPage(PageContext& context, QWidget* parent)
    : Page(context, parent), hints_(new FocusHintFilter(context.setHint, this)) {
  setObjectName("picWeather");
  FillScrolling(*this, BuildRows());
}

QWidget* WeatherPage::BuildRows() {
  auto* controls = new QWidget;
  auto* grid = new QGridLayout(controls);
  grid->setHorizontalSpacing(grid->horizontalSpacing() * 2);
  const WeatherPageState columns;
  for (std::size_t c = 0; c < columnCaptions_.size(); ++c) {
    auto* caption = new QLabel(Text(columns.columnCaptions[c]));
    caption->setObjectName(QString("lblWXColumn_%1").arg(c));
    columnCaptions_[c] = caption;
    grid->addWidget(caption, 0, static_cast<int>(c) + 1, c < 2 ? Qt::AlignHCenter : Qt::AlignLeft);
  }

  for (int r = 0; r < kWeatherChannels; ++r) {
    Row row;
    row.lblWX = new QLabel;
    row.lblWX->setObjectName(Text(Indexed("lblWX", r)));
    row.chkDEnable = new QCheckBox(Text(WeatherEnableCaption(true)));
    row.chkDEnable->setObjectName(Text(Indexed("chkDEnable", r)));
    // Room for ">" whether or not the row has the focus, so the row does not shift.
    row.chkDEnable->setMinimumWidth(row.chkDEnable->sizeHint().width());
    row.chkDEnable->installEventFilter(this);
    row.chkDScan = new QCheckBox;
    row.chkDScan->setObjectName(Text(Indexed("chkDScan", r)));
    auto* name = new QLineEdit;
    name->setObjectName(Text(Indexed("txtDTagName", r)));
    FitWidth(*name, QString(RuleFor(EntryField::WeatherTag).maxLength, 'M'));
    row.txtDTagName = new EntryFieldAdapter(*name, context(), *this);
    entries_.Add(row.txtDTagName);
    row.lblWX->setBuddy(row.chkDEnable);

    grid->addWidget(row.lblWX, r + 1, 0);
    grid->addWidget(row.chkDEnable, r + 1, 1, Qt::AlignHCenter);
    grid->addWidget(row.chkDScan, r + 1, 2, Qt::AlignHCenter);
    grid->addWidget(name, r + 1, 3, Qt::AlignLeft);

    connect(row.chkDEnable, &QCheckBox::toggled, this, [this, r](bool on) { Edit(r, WeatherControl::Enable, on); });
    connect(row.chkDScan, &QCheckBox::toggled, this, [this, r](bool on) { Edit(r, WeatherControl::Scan, on); });
    rows_.push_back(row);
  }
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(kWeatherChannels + 1, 1);
  return controls;
}

void WeatherPage::Fill(const PageRef& /*page*/) {
  const WeatherPageState state = WeatherPageFor(session().record);
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
    const bool shown = r < static_cast<int>(state.rows.size());
    const Row& row = rows_[static_cast<std::size_t>(r)];
    for (QWidget* w : {static_cast<QWidget*>(row.lblWX), static_cast<QWidget*>(row.chkDEnable),
                       static_cast<QWidget*>(row.chkDScan), static_cast<QWidget*>(&row.txtDTagName->box())}) {
      w->setVisible(shown);
    }
    if (shown) Draw(r, state.rows[static_cast<std::size_t>(r)], true);
  }
}

void WeatherPage::Draw(int r, const WeatherRowState& state, bool fresh) {
  const Row& row = rows_[static_cast<std::size_t>(r)];
  const QString rowCaption = Text(state.lblWX.caption);
  const auto named = [&](QWidget& widget, std::size_t column) {
    widget.setAccessibleName(rowCaption + " " + columnCaptions_[column]->text());
  };

  DrawControl(*row.lblWX, state.lblWX);
  row.lblWX->setText(RowCaption(state.lblWX.caption));

  DrawControl(*row.chkDEnable, state.chkDEnable);
  row.chkDEnable->setText(Text(WeatherEnableCaption(row.chkDEnable->hasFocus())));
  SetQuietly(*row.chkDEnable, state.chkDEnable.checked);
  named(*row.chkDEnable, 0);
  hints_->Watch(*row.chkDEnable, state.chkDEnable.hint);

  DrawControl(*row.chkDScan, state.chkDScan);
  SetQuietly(*row.chkDScan, state.chkDScan.checked);
  named(*row.chkDScan, 1);
  hints_->Watch(*row.chkDScan, state.chkDScan.hint);

  const TextBoxState& name = state.txtDTagName;
  // A redraw after a click keeps what is being typed; a disabled box holds no entry.
  if (fresh || !row.txtDTagName->pending() || !name.enabled) row.txtDTagName->Load(name.entry, name.text, name.readOnly);
  DrawControl(row.txtDTagName->box(), name);
  named(row.txtDTagName->box(), 2);
}

void WeatherPage::Edit(int row, WeatherControl control, bool on) {
  const WeatherEditResult result = EditWeather(session(), row, control, on);
  if (result.row) Draw(row, *result.row, false);
}

bool WeatherPage::eventFilter(QObject* watched, QEvent* event) {
  const bool in = event->type() == QEvent::FocusIn;
  if (in || event->type() == QEvent::FocusOut) {
    for (const Row& row : rows_) {
      if (watched == row.chkDEnable) row.chkDEnable->setText(Text(WeatherEnableCaption(in)));
    }
  }
  return Page::eventFilter(watched, event);
}

EntryWindowState WeatherPage::PendingEntry() const { return entries_.PendingEntry(); }

void WeatherPage::ApplyEntry(const EntryOutcome& outcome) { entries_.ApplyEntry(outcome); }

}  // namespace qm47
