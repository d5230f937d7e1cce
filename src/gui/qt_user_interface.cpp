#include "gui/qt_user_interface.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/event_loop_wait.h"
#include "gui/wait_cursor.h"

namespace qm47 {

namespace {

constexpr const char* kLastFolderSection = "Settings";
constexpr const char* kLastFolderKey = "LastFolder";
// Where a message's detail line wraps, in characters.
constexpr int kDetailColumns = 50;

// The program's texts break lines with CR LF or a lone CR.
QString Lines(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace("\r\n", "\n");
  s.replace('\r', '\n');
  return s;
}

QMessageBox::Icon IconOf(Icon icon) {
  switch (icon) {
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

std::vector<QMessageBox::StandardButton> ButtonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return {QMessageBox::Ok};
    case Buttons::OkCancel: return {QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::YesNo: return {QMessageBox::Yes, QMessageBox::No};
    case Buttons::YesNoCancel: return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case Buttons::RetryCancel: return {QMessageBox::Retry, QMessageBox::Cancel};
  }
  return {QMessageBox::Ok};
}

Answer AnswerOf(QMessageBox::StandardButton button, Buttons buttons) {
  switch (button) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
  }
  // Closed without a button: the answer that changes least.
  return buttons == Buttons::Ok ? Answer::Ok : buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

// While the window is busy the pointer is an hourglass; a question wants the arrow.
class ArrowWhileAsking {
 public:
  ArrowWhileAsking() {
    if (QApplication::overrideCursor() != nullptr) arrow_.emplace(Qt::ArrowCursor);
  }

 private:
  std::optional<WaitCursor> arrow_;
};

bool IsFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBox& box, QWidget* parent) {
  auto mb = std::make_unique<QMessageBox>(parent);
  mb->setObjectName("msgBox");
  mb->setWindowTitle(QString::fromStdString(box.caption));
  mb->setTextFormat(Qt::PlainText);
  mb->setText(Lines(box.text));
  if (!box.detail.empty()) {
    mb->setInformativeText(Lines(box.detail));
    // A headline as short as "Data Error!!" would make the box as narrow as itself and
    // wrap the detail into a column of single words.
    if (auto* detail = mb->findChild<QLabel*>("qt_msgbox_informativelabel")) {
      const QFontMetrics fm(detail->font());
      int longest = 0;
      for (const QString& line : Lines(box.detail).split('\n')) longest = std::max(longest, fm.horizontalAdvance(line));
      detail->setMinimumWidth(std::min(longest, fm.averageCharWidth() * kDetailColumns));
    }
  }
  mb->setIcon(IconOf(box.icon));
  const auto buttons = ButtonsOf(box.buttons);
  for (const auto b : buttons) mb->addButton(b);
  const auto index = static_cast<std::size_t>(box.defaultButton);
  if (index < buttons.size()) mb->setDefaultButton(buttons[index]);
  return mb;
}

std::unique_ptr<QInputDialog> MakeItemDialog(const ItemChoice& choice, QWidget* parent) {
  QStringList items;
  for (const std::string& item : choice.items) items << QString::fromStdString(item);
  auto dialog = std::make_unique<QInputDialog>(parent);
  dialog->setObjectName("dlgChooseItem");
  dialog->setWindowTitle(QString::fromStdString(choice.title));
  dialog->setAccessibleName(QString::fromStdString(choice.title));
  dialog->setLabelText(QString::fromStdString(choice.label));
  dialog->setComboBoxItems(items);
  dialog->setComboBoxEditable(false);
  if (choice.preselected >= 0 && choice.preselected < items.size()) dialog->setTextValue(items[choice.preselected]);
  if (auto* list = dialog->findChild<QComboBox*>()) {
    list->setObjectName("cmbChooseItem");
    list->setAccessibleName(QString::fromStdString(choice.label));
  }
  return dialog;
}

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i].trimmed();
    // The name carries its patterns in the Windows form; Qt wants them once, at the end.
    if (const auto paren = name.indexOf('('); paren > 0) name = name.left(paren).trimmed();
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == "*.*") p = "*";  // Windows' "every file"; on other systems it needs a dot
    }
    out << name + " (" + patterns.join(' ') + ")";
  }
  return out.join(";;");
}

void QtUserInterface::SetWindow(QWidget* window) {
  window_ = window;
  blocker_.SetWindow(window);
}

QWidget* QtUserInterface::DialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return window_ && window_->isVisible() ? window_.data() : nullptr;
}

Answer QtUserInterface::Show(const MessageBox& box) {
  ArrowWhileAsking arrow;
  const auto mb = MakeMessageBox(box, DialogParent());
  mb->exec();
  return AnswerOf(mb->standardButton(mb->clickedButton()), box.buttons);
}

QString QtUserInterface::StartFolder(const FileChoice& choice) const {
  const QString given = QString::fromStdString(choice.startFolder);
  if (IsFolder(given)) return given;
  const QString last = QString::fromStdString(prefs_.Get(kLastFolderSection, kLastFolderKey, ""));
  if (IsFolder(last)) return last;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return IsFolder(documents) ? documents : QDir::homePath();
}

std::optional<std::string> QtUserInterface::ChooseFile(const FileChoice& choice) {
  ArrowWhileAsking arrow;
  const QString filter = QtFileFilter(choice.filter);
  QFileDialog dialog(DialogParent(), QString::fromStdString(choice.title), StartFolder(choice), filter);
  dialog.setObjectName("dlgFile");
  if (choice.mode == FileChoice::Mode::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets the first filter's ("boat" -> "boat.dat").
    const QString first = filter.section(";;", 0, 0).section('(', 1).section(')', 0, 0).section(' ', 0, 0);
    if (first.startsWith("*.") && first != "*.*") dialog.setDefaultSuffix(first.mid(2));
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
  if (!choice.suggestedName.empty()) dialog.selectFile(QString::fromStdString(choice.suggestedName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString path = dialog.selectedFiles().constFirst();
  prefs_.Save(kLastFolderSection, kLastFolderKey, QFileInfo(path).absolutePath().toStdString());
  return path.toStdString();
}

std::optional<int> QtUserInterface::ChooseItem(const ItemChoice& choice) {
  ArrowWhileAsking arrow;
  const auto dialog = MakeItemDialog(choice, DialogParent());
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  const auto index = dialog->comboBoxItems().indexOf(dialog->textValue());
  if (index < 0) return std::nullopt;
  return static_cast<int>(index);
}

std::string QtUserInterface::HowToChooseModel(int /*number*/, const std::string& name) const {
  return "choose " + name + " from Edit > Model";
}

void QtUserInterface::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    blocker_.Block(true);
  } else if (blocker_.blocking()) {
    blocker_.Block(false);
    QApplication::restoreOverrideCursor();
  }
}

void QtUserInterface::ProcessEvents() { ProcessPendingEvents(); }

void QtUserInterface::Pause(int milliseconds) { WaitProcessingEvents(milliseconds); }

}  // namespace qm47
