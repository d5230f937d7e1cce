#include "gui/port_device_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qm47 {

PortDeviceDialog::PortDeviceDialog(int number, const std::string& device,
                                   const std::vector<SerialPortDescription>& ports, QWidget* parent)
    : QDialog(parent), devices_(new QComboBox) {
  setObjectName("frmPortDevice");
  setWindowTitle(QString("COM%1 Device").arg(number));
  devices_->setObjectName("cmbPortDevice");
  devices_->setEditable(true);
  devices_->setInsertPolicy(QComboBox::NoInsert);
  devices_->setMinimumContentsLength(28);
  for (const SerialPortDescription& p : ports) {
    const QString location = QString::fromStdString(p.location);
    const QString about = QString::fromStdString(p.description.empty() ? p.name : p.description);
    devices_->addItem(QString("%1  (%2)").arg(location, about), location);
  }
  devices_->setCurrentIndex(devices_->findData(QString::fromStdString(device)));
  devices_->setEditText(QString::fromStdString(device));

  auto* label = new QLabel(QString("&Device for COM%1:").arg(number));
  label->setBuddy(devices_);
  devices_->setAccessibleName(QString("Device for COM%1").arg(number));
  devices_->lineEdit()->setAccessibleName(devices_->accessibleName());
  auto* note = new QLabel(
      "Choose a port the system has, or type the full path of a device, such as the "
      "pseudo-terminal of qm47-sim. Leave it empty for the default.");
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(label, devices_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addWidget(buttons);
}

std::string PortDeviceDialog::Device() const {
  // A listed port shows its description; what counts is its device.
  const int index = devices_->findText(devices_->currentText());
  const QString chosen = index >= 0 ? devices_->itemData(index).toString() : devices_->currentText();
  return chosen.trimmed().toStdString();
}

}  // namespace qm47
