#include "gui/radio_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "link/transfer_dialog.h"

namespace qm47 {

// The window's user interface, except that the link's monitor line, progress and busy
// state are drawn in this dialog (which stays answerable: Cancel must get through).
class RadioDialog::DialogUi final : public UserInterface {
 public:
  explicit DialogUi(UserInterface& window) : window_(window) {}

  QLabel* monitor = nullptr;
  QProgressBar* progress = nullptr;
  std::function<void()> busyChanged;

  Answer Show(const MessageBox& box) override { return window_.Show(box); }
  std::optional<std::string> ChooseFile(const FileChoice& choice) override { return window_.ChooseFile(choice); }
  std::string HowToChooseModel(int number, const std::string& name) const override {
    return window_.HowToChooseModel(number, name);
  }
  void Monitor(const std::string& line) override {
    if (monitor) monitor->setText(QString::fromStdString(line));
  }
  void Progress(int value, int maximum) override {
    if (progress && maximum > 0) progress->setValue(100 * value / maximum);
  }
  void SetBusy(bool busy) override {
    if (busy) {
      if (depth_++ == 0) QApplication::setOverrideCursor(Qt::BusyCursor);
    } else if (depth_ > 0 && --depth_ == 0) {
      QApplication::restoreOverrideCursor();
    }
    if (busyChanged) busyChanged();
  }
  void ProcessEvents() override { window_.ProcessEvents(); }
  void Pause(int milliseconds) override { window_.Pause(milliseconds); }

  ~DialogUi() override {
    while (depth_ > 0) SetBusy(false);
  }

 private:
  UserInterface& window_;
  int depth_ = 0;
};

RadioDialog::RadioDialog(Session& s, int mode, const std::string& device, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<DialogUi>(s.ui)),
      line_(device),
      clock_(*ui_),
      transfer_(s, line_, clock_, mode, *ui_) {
  setObjectName("frmRadio");
  setWindowTitle(QString::fromStdString(transfer_.dialog().caption()));

  QString instructions = QString::fromLatin1(kTransferInstructions);
  instructions.replace("\r\n", "\n");
  auto* text = new QLabel(instructions);
  text->setObjectName("lblmess");

  auto* port = new QLabel(tr("Serial port: %1").arg(QString::fromStdString(device)));
  port->setObjectName("lblPort");

  progress_ = new QProgressBar;
  progress_->setObjectName("pictProgress");
  progress_->setAccessibleName("Progress");
  progress_->setRange(0, 100);

  monitor_ = new QLabel;
  monitor_->setObjectName("lblmon");
  monitor_->setVisible(s.startup.debugMode);

  auto* buttons = new QDialogButtonBox;
  ok_ = buttons->addButton(QDialogButtonBox::Ok);
  ok_->setObjectName("cmdOK");
  cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
  cancel_->setObjectName("cmdCancel");
  connect(ok_, &QPushButton::clicked, this, &RadioDialog::Ok);
  connect(cancel_, &QPushButton::clicked, this, &RadioDialog::Cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(port);
  layout->addWidget(progress_);
  layout->addWidget(monitor_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  ui_->monitor = monitor_;
  ui_->progress = progress_;
  ui_->busyChanged = [this] { DrawButtons(); };
  transfer_.dialog().Load();
  ok_->setFocus();
}

RadioDialog::~RadioDialog() = default;

void RadioDialog::DrawButtons() { ok_->setEnabled(transfer_.dialog().OkEnabled()); }

void RadioDialog::Ok() {
  transfer_.dialog().Ok();
  DrawButtons();
  if (transfer_.dialog().state() == DialogState::Closed) accept();
}

void RadioDialog::Cancel() {
  if (transfer_.dialog().Cancel()) QDialog::reject();
}

void RadioDialog::reject() {
  if (transfer_.dialog().RequestClose()) QDialog::reject();
}

void RadioDialog::keyPressEvent(QKeyEvent* event) {
  // Escape is the Cancel button: it stops a running transfer rather than closing.
  if (event->key() == Qt::Key_Escape) {
    Cancel();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace qm47
