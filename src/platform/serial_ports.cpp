#include "platform/serial_ports.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <filesystem>

namespace qm47 {

std::string PortDeviceKey(int number) { return "Port" + std::to_string(number); }

std::string DefaultPortDevice(int number) {
  const int n = std::clamp(number, 1, kPortNumbers);
#if defined(_WIN32)
  return "COM" + std::to_string(n);
#elif defined(__APPLE__)
  static const char* const names[] = {"/dev/cu.usbserial", "/dev/cu.usbserial-0001", "/dev/cu.usbmodem1",
                                      "/dev/cu.serial1"};
  return names[n - 1];
#else
  static const char* const names[] = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyS1"};
  return names[n - 1];
#endif
}

std::string PortDevice(const PreferenceStore& prefs, int number) {
  const std::string value = prefs.Get(kPortSection, PortDeviceKey(number), "");
  return value.empty() ? DefaultPortDevice(number) : value;
}

void SetPortDevice(PreferenceStore& prefs, int number, const std::string& device) {
  prefs.Save(kPortSection, PortDeviceKey(number), device);
}

std::string ResolvePortArgument(const PreferenceStore& prefs, const std::string& argument) {
  if (argument.size() == 1 && argument[0] >= '1' && argument[0] < '1' + kPortNumbers) {
    return PortDevice(prefs, argument[0] - '0');
  }
  std::error_code ec;
  const bool looksLikePath = argument.find('/') != std::string::npos || argument.find('\\') != std::string::npos;
  if (looksLikePath || std::filesystem::exists(argument, ec)) {
    // Absolute but not resolved: a simulator's stable link stays the name we show.
    const auto absolute = std::filesystem::absolute(argument, ec);
    if (!ec) return absolute.lexically_normal().string();
  }
  return argument;
}

std::vector<SerialPortDescription> ListSerialPorts() {
  std::vector<SerialPortDescription> out;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    SerialPortDescription d;
    d.name = info.portName().toStdString();
    d.location = info.systemLocation().toStdString();
    d.description = info.description().toStdString();
    d.manufacturer = info.manufacturer().toStdString();
    d.serialNumber = info.serialNumber().toStdString();
    if (info.hasVendorIdentifier()) d.vendorId = info.vendorIdentifier();
    if (info.hasProductIdentifier()) d.productId = info.productIdentifier();
    out.push_back(std::move(d));
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return out;
}

}  // namespace qm47
