#include "gui/radio_dialog.h"

#include "gui/help_window.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "editor/session/main_commands.h"
#include "files/data_folder.h"
#include "editor/radio/transfer_dialog.h"

namespace qm47 {

namespace {

// The documented layout at 96 dots per inch, in device-independent pixels.
constexpr QSize kPictureSize{121, 105};
constexpr QSize kProgressSize{93, 21};
constexpr QSize kButtonSize{85, 37};
constexpr int kPictureGapLeft = 21;   // picture, gap, progress frame, gap, picture
constexpr int kPictureGapRight = 15;
constexpr int kButtonGap = 43;
constexpr QMargins kMargins{12, 8, 12, 12};
constexpr int kClientWidth = 457;     // 465 outside the frame

QFont Arial(const QFont& base) {
  QFont font(base);
  font.setFamilies({"Arial", "Liberation Sans", "Helvetica"});
  return font;
}

QLabel* Picture(const char* name, const QString& file, const QString& accessibleName) {
  auto* picture = new QLabel;
  picture->setObjectName(name);
  picture->setFixedSize(kPictureSize);
  picture->setAlignment(Qt::AlignCenter);
  picture->setPixmap(QPixmap(file));
  picture->setAccessibleName(accessibleName);
  return picture;
}

QPushButton* Button(const char* name, const QString& caption, const QFont& font) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  button->setFont(font);
  button->setMinimumSize(kButtonSize);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

// The window's user interface, with the monitor line, the progress bar and the buttons'
// states drawn in this dialog. Busy also blocks the main window's input.
class RadioDialog::DialogUi final : public UserInterface {
 public:
  explicit DialogUi(UserInterface& window) : window_(window) {}

  std::function<void(const std::string&)> monitor;
  std::function<void(int percent)> progress;
  std::function<void()> busyChanged;
  std::function<void()> events;
  bool busy() const { return depth_ > 0; }

  Answer Show(const MessageBox& box) override { return window_.Show(box); }
  std::optional<std::string> ChooseFile(const FileChoice& choice) override { return window_.ChooseFile(choice); }
  std::string HowToChooseModel(int number, const std::string& name) const override {
    return window_.HowToChooseModel(number, name);
  }
  void Monitor(const std::string& line) override {
    if (monitor) monitor(line);
  }
  void Progress(int value, int maximum) override {
    if (progress && maximum > 0) progress(100 * value / maximum);
  }
  void SetBusy(bool busy) override {
    if (busy) {
      ++depth_;
    } else if (depth_ > 0) {
      --depth_;
    } else {
      return;
    }
    window_.SetBusy(busy);
    if (busyChanged) busyChanged();
  }
  void ProcessEvents() override {
    if (events) events();
    window_.ProcessEvents();
  }
  void Pause(int milliseconds) override { window_.Pause(milliseconds); }

  ~DialogUi() override {
    while (depth_ > 0) SetBusy(false);
  }

 private:
  UserInterface& window_;
  int depth_ = 0;
};

RadioDialog::RadioDialog(Session& s, const TransferJob& job, const std::string& port, SerialLine& line,
                         Clock* clock, QWidget* parent)
    : QDialog(parent), s_(s), ui_(std::make_unique<DialogUi>(s.ui)), line_(line) {
  if (!clock) {
    ownClock_ = std::make_unique<PausingClock>(*ui_);
    clock = ownClock_.get();
  }
  transfer_ = std::make_unique<RadioTransfer>(s, line_, *clock, job, *ui_);
  setObjectName("frmRadio");
  setWindowTitle(QString::fromStdString(transfer_->dialog().caption()));
  BuildLayout(s.dataFolder, port, s.startup.debugMode);

  ui_->monitor = [this](const std::string& text) { monitor_->setText(QString::fromStdString(text)); };
  ui_->progress = [this](int percent) { DrawProgress(percent); };
  ui_->busyChanged = [this] {
    DrawButtons();
    DrawWaiting();
  };
  ui_->events = [this] { DrawWaiting(); };
  transfer_->dialog().Load();
  DrawButtons();
  ok_->setFocus();
}

RadioDialog::~RadioDialog() = default;

UserInterface& RadioDialog::userInterface() { return *ui_; }

void RadioDialog::BuildLayout(const std::string& dataFolder, const std::string& port, bool debugMode) {
  const QFont arial = Arial(font());

  QString instructions = QString::fromLatin1(kTransferInstructions);
  instructions.replace("\r\n", "\n");
  auto* text = new QLabel(instructions);
  text->setObjectName("lblmess");
  text->setFont(arial);
  text->setMinimumWidth(kClientWidth - kMargins.left() - kMargins.right());

  const QString artwork = QString::fromStdString(dataFolder);
  QLabel* radio = Picture("pictA", QDir(artwork).filePath("transfer-radio.png"), "Radio");
  QLabel* pc = Picture("pictB", QDir(artwork).filePath("transfer-pc.png"), "PC");

  progressFrame_ = new QFrame;
  progressFrame_->setObjectName("pictProgress");
  progressFrame_->setAccessibleName("Progress");
  progressFrame_->setFixedSize(kProgressSize);
  progressFrame_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  progressFrame_->setBackgroundRole(QPalette::Base);
  progressFrame_->setAutoFillBackground(true);
  progressBar_ = new QLabel(progressFrame_);
  progressBar_->setObjectName("lblPercent");
  progressBar_->setBackgroundRole(QPalette::Highlight);
  progressBar_->setAutoFillBackground(true);

  auto* portLine = new QLabel(QString("Serial port: %1").arg(QString::fromStdString(port)));
  portLine->setObjectName("lblPort");
  portLine->setAlignment(Qt::AlignCenter);
  portLine->setTextInteractionFlags(Qt::TextSelectableByMouse);

  ok_ = Button("cmdOK", "OK", arial);
  ok_->setDefault(true);
  cancel_ = Button("cmdCancel", "Cancel", arial);
  help_ = Button("cmdHelp", "Help", arial);
  connect(ok_, &QPushButton::clicked, this, &RadioDialog::Ok);
  connect(cancel_, &QPushButton::clicked, this, &RadioDialog::Cancel);
  connect(help_, &QPushButton::clicked, this, &RadioDialog::Help);

  monitor_ = new QLabel;
  monitor_->setObjectName("lblmon");
  monitor_->setAlignment(Qt::AlignCenter);
  monitor_->setContentsMargins(0, 8, 0, 0);
  // A longer text does not make the dialog jump in size.
  monitor_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  monitor_->setVisible(debugMode);

  // The source of the transfer stands on the left.
  const bool radioLeft = transfer_->dialog().RadioOnLeft();
  auto* pictures = new QHBoxLayout;
  pictures->addStretch();
  pictures->addWidget(radioLeft ? radio : pc);
  pictures->addSpacing(kPictureGapLeft);
  pictures->addWidget(progressFrame_, 0, Qt::AlignVCenter);
  pictures->addSpacing(kPictureGapRight);
  pictures->addWidget(radioLeft ? pc : radio);
  pictures->addStretch();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addSpacing(kButtonGap);
  buttons->addWidget(cancel_);
  buttons->addSpacing(kButtonGap);
  buttons->addWidget(help_);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargins);
  layout->setSpacing(0);
  layout->addWidget(text);
  layout->addSpacing(10);
  layout->addLayout(pictures);
  layout->addSpacing(6);
  layout->addWidget(portLine);
  // Always there, empty while the radio answers, so the dialog keeps its size.
  waiting_ = new QLabel;
  waiting_->setObjectName("lblWaiting");
  waiting_->setAlignment(Qt::AlignCenter);
  waiting_->setMinimumHeight(waiting_->fontMetrics().height());
  layout->addWidget(waiting_);
  layout->addSpacing(10);
  layout->addLayout(buttons);
  layout->addWidget(monitor_);  // hidden outside debug mode, and then takes no room
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void RadioDialog::DrawButtons() {
  const TransferDialog& dialog = transfer_->dialog();
  ok_->setEnabled(dialog.OkEnabled());
  help_->setEnabled(dialog.HelpEnabled());
}

void RadioDialog::DrawProgress(int percent) {
  const QRect inside = progressFrame_->contentsRect();
  progressBar_->setGeometry(inside.x() + ProgressBarLeft(percent, inside.width()), inside.y(), inside.width(),
                            inside.height());
  const QString done = QString("%1 percent").arg(std::clamp(percent, 0, 100));
  progressFrame_->setAccessibleDescription(done);
  progressBar_->setAccessibleName(done);
}

void RadioDialog::DrawWaiting() {
  const bool waiting = RadioSeemsSilent(ui_->busy(), line_.Quiet());
  const QString text = waiting ? "Waiting for the radio to answer\u2026 Check that it shows UART." : QString();
  if (waiting_->text() != text) waiting_->setText(text);
}

void RadioDialog::Ok() {
  transfer_->dialog().Ok();
  DrawButtons();
  if (transfer_->dialog().state() == DialogState::Closed) accept();
}

void RadioDialog::Cancel() {
  if (transfer_->dialog().Cancel()) QDialog::reject();
}

void RadioDialog::Help() {
  const auto page = [this](int topic) { return HelpFilePath(s_.dataFolder, topic); };
  const bool exists = QFileInfo::exists(QString::fromStdString(page(kTransferHelpTopic)));
  transfer_->dialog().Help(exists, [&](int topic) -> std::optional<HelpFailure> {
    // A window of the dialog's own, so it takes input while the dialog is modal.
    if (!helpWindow_) helpWindow_ = new HelpWindow(this);
    if (helpWindow_->Show(HelpFor(s_.dataFolder, topic))) return std::nullopt;
    return HelpFailure{"The help viewer could not be started.",
                       page(topic) + " could not be read: check that the data folder holds the help/ that came "
                                     "with QM47."};
  });
}

void RadioDialog::reject() {
  if (transfer_->dialog().RequestClose()) QDialog::reject();
}

void RadioDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    Cancel();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace qm47
