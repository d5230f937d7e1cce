// The user-interface seam as the window shows it: message boxes, file dialogs, the
// hourglass, and waits that keep the event loop running.
#pragma once

#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <memory>

#include "files/preferences.h"
#include "gui/input_blocker.h"
#include "seams/user_interface.h"

namespace qm47 {

// The box as the window shows it, not yet run: icon, buttons, default button, detail.
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBox& box, QWidget* parent);

// The list choice as the window shows it, not yet run.
std::unique_ptr<QInputDialog> MakeItemDialog(const ItemChoice& choice, QWidget* parent);

// "dat files(*.dat)|*.dat|All files(*.*)|*.*" -> "dat files (*.dat);;All files (*)".
QString QtFileFilter(const std::string& filter);

class QtUserInterface final : public UserInterface {
 public:
  // The last folder of the file dialogs is kept in `prefs`.
  explicit QtUserInterface(PreferenceStore& prefs) : prefs_(prefs) {}

  // The window that SetBusy blocks and that dialogs open over.
  void SetWindow(QWidget* window);

  Answer Show(const MessageBox& box) override;
  std::optional<std::string> ChooseFile(const FileChoice& choice) override;
  std::optional<int> ChooseItem(const ItemChoice& choice) override;
  std::string HowToChooseModel(int number, const std::string& name) const override;
  void SetBusy(bool busy) override;
  void ProcessEvents() override;
  void Pause(int milliseconds) override;

 private:
  QWidget* DialogParent() const;
  QString StartFolder(const FileChoice& choice) const;

  PreferenceStore& prefs_;
  QPointer<QWidget> window_;
  InputBlocker blocker_;
};

}  // namespace qm47
