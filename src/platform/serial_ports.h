// Serial port names: the numbers 1..4 of the port menu, names and paths on the
// command line, and the ports the system has.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/preferences.h"

namespace qm47 {

inline constexpr int kPortNumbers = 4;
inline constexpr const char* kPortSection = "ComPath";

// Preference key of port number n ("Port1".."Port4").
std::string PortDeviceKey(int number);
// The device a port number means before the user says otherwise: COMn on Windows,
// USB serial adapters first, then the built-in ports, on Linux and macOS.
std::string DefaultPortDevice(int number);
// The device of port number 1..4 as the preferences map it.
std::string PortDevice(const PreferenceStore& prefs, int number);
void SetPortDevice(PreferenceStore& prefs, int number, const std::string& device);

// What --port means: "1".."4" through the preferences; a path (or a file in the current
// folder, such as a simulator's link) made absolute; anything else a port name as given.
std::string ResolvePortArgument(const PreferenceStore& prefs, const std::string& argument);

struct SerialPortDescription {
  std::string name;
  std::string location;
  std::string description;
  std::string manufacturer;
  std::string serialNumber;
  std::optional<int> vendorId;
  std::optional<int> productId;
};
std::vector<SerialPortDescription> ListSerialPorts();

}  // namespace qm47
