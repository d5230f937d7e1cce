// Options > SerialPort > Device: which device a port number of the menu stands for, so a
// USB cable or the virtual radio's pseudo-terminal can be chosen without editing files.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "platform/serial_ports.h"

class QComboBox;

namespace qm47 {

class PortDeviceDialog final : public QDialog {
 public:
  PortDeviceDialog(int number, const std::string& device, const std::vector<SerialPortDescription>& ports,
                   QWidget* parent);

  // The device typed or chosen, trimmed; empty for the default of the port number.
  std::string Device() const;

 private:
  QComboBox* devices_;
};

}  // namespace qm47
