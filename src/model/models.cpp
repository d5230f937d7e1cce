#include "model/models.h"

#include <algorithm>

namespace qm47 {

namespace {
constexpr const char* kNames[] = {"TK4100A", "TK520B", "TK7100C", "TK-nnnn"};
constexpr std::uint16_t kCodes[] = {4100, 520, 7100, 0};
constexpr int kNamedModels = 4;
}  // namespace

std::string ModelMenuName(int number) {
  if (number < 1 || number > kNamedModels) return "";
  return kNames[number - 1];
}

std::string ModelName(int number) {
  if (number < 1 || number > kNamedModels) return "Unknown model";
  return kNames[number - 1];
}

std::optional<int> ModelNamed(std::string_view text) {
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos) {
    int n = 0;
    for (const char c : text) n = std::min(n * 10 + (c - '0'), kMaxModels + 1);
    if (n >= 1 && n <= kMaxModels) return n;
    return std::nullopt;
  }
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (int n = 1; n <= kNamedModels; ++n) {
    const std::string_view name = kNames[n - 1];
    if (name.size() == text.size() &&
        std::equal(text.begin(), text.end(), name.begin(), [&](char a, char b) { return upper(a) == upper(b); })) {
      return n;
    }
  }
  return std::nullopt;
}

std::optional<std::uint16_t> ModelCode(int number) {
  if (number < 1 || number > kNamedModels) return std::nullopt;
  return kCodes[number - 1];
}

ModelCodeAddressPair ModelCodeAddresses() { return {addr::ModelCode, addr::ModelCodeCopy}; }

bool ModelCodeMatches(int number, int a, int b) {
  const auto code = ModelCode(number);
  return code && a == b && a == *code;
}

std::string ModelLabel(int number) {
  const std::string name = ModelMenuName(number);
  return "model " + std::to_string(number) + (name.empty() ? "" : " (" + name + ")");
}

ModelCodeReport DescribeModelCodes(const std::string& what, int first, int second, int current) {
  const std::string here = "this is " + ModelLabel(current) + ".";
  if (first != second) {
    return {what + " holds two different model codes (" + std::to_string(first) + " and " + std::to_string(second) +
                "): it is damaged or not a radio image; " + here,
            0};
  }
  for (int m = 1; m <= kNamedModels; ++m) {
    if (kCodes[m - 1] == first) return {what + " holds " + ModelLabel(m) + "; " + here, m};
  }
  return {what + " holds model code " + std::to_string(first) + ", which no model has; " + here, 0};
}

ModelDescriptor MakeDescriptor(int number, bool atis, bool scrambler) {
  ModelDescriptor d;
  d.number = static_cast<std::int16_t>(number);
  d.name = ModelName(number);
  d.code = ModelCode(number).value_or(0);
  d.atis = atis;
  d.scrambler = scrambler;
  d.title = "PC Program for " + d.name;
  return d;
}

}  // namespace qm47
