// The radio models this program knows: names, model codes and the descriptor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/memory_map.h"

namespace qm47 {

inline constexpr int kMaxModels = 10;

std::string ModelMenuName(int number);  // "" for unknown numbers
std::string ModelName(int number);      // "Unknown model" for unknown numbers
std::optional<std::uint16_t> ModelCode(int number);

struct ModelCodeAddressPair {
  Address first;
  Address second;
};
ModelCodeAddressPair ModelCodeAddresses();

// True when both codes are equal and are the code of model `number`.
bool ModelCodeMatches(int number, int a, int b);

struct ModelDescriptor {
  std::int16_t number = 1;
  std::string name;
  std::uint16_t code = 0;  // 0 also for numbers without a code
  bool atis = false;
  bool scrambler = false;
  std::string title;
};

// Name, code and title of model `number`; atis and scrambler come from the catalogue.
ModelDescriptor MakeDescriptor(int number, bool atis, bool scrambler);

}  // namespace qm47
