// The radio models this program knows: names, model codes and the descriptor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/memory_map.h"

namespace qm47 {

inline constexpr int kMaxModels = 10;

std::string ModelMenuName(int number);  // "" for unknown numbers
std::string ModelName(int number);      // "Unknown model" for unknown numbers
std::optional<std::uint16_t> ModelCode(int number);
// A model as a person names it: its number 1..10, or its menu name in any case ("tk520b").
std::optional<int> ModelNamed(std::string_view text);

struct ModelCodeAddressPair {
  Address first;
  Address second;
};
ModelCodeAddressPair ModelCodeAddresses();

// True when both codes are equal and are the code of model `number`.
bool ModelCodeMatches(int number, int a, int b);

// "model 2 (TK520B)", or "model 7" for a number without a name.
std::string ModelLabel(int number);

// What an image's two model code words say, for a message: `what` ("The radio",
// "'a.hex'") holds which model, compared with model `current`; `fits` is the model whose
// code they are (0 when the codes differ or no model has them).
struct ModelCodeReport {
  std::string text;
  int fits = 0;
};
ModelCodeReport DescribeModelCodes(const std::string& what, int first, int second, int current);

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
