#include "link/frame.h"

namespace qm47 {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void Append(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }
}  // namespace

std::string HexField(unsigned value, int digits) {
  std::string out(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i) {
    out[static_cast<std::size_t>(i)] = kHexDigits[value & 0xF];
    value >>= 4;
  }
  return out;
}

std::string HexData(std::span<const std::uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    out.push_back(kHexDigits[b >> 4]);
    out.push_back(kHexDigits[b & 0xF]);
  }
  return out;
}

std::uint8_t FrameChecksum(std::string_view text) {
  std::uint8_t sum = 0;
  for (char c : text) sum ^= static_cast<std::uint8_t>(c);
  return sum;
}

Bytes BuildFrame(std::string_view command, std::string_view address, std::string_view length,
                 std::string_view data) {
  std::string body(command);
  body.push_back('\t');
  for (std::string_view field : {address, length, data}) {
    if (field.empty()) continue;
    body.append(field);
    body.push_back('\t');
  }
  Bytes out;
  out.reserve(body.size() + 4);
  Append(out, body);
  Append(out, HexField(FrameChecksum(body), 2));
  out.push_back(kCr);
  out.push_back(kLf);
  return out;
}

std::uint64_t HexValue(std::string_view text) {
  constexpr std::uint64_t kSaturated = 0x1'0000'0000ULL;
  std::uint64_t value = 0;
  for (char c : text) {
    const int d = HexDigit(c);
    if (d < 0) break;
    value = value * 16 + static_cast<std::uint64_t>(d);
    if (value >= kSaturated) return kSaturated;
  }
  return value;
}

bool CheckFrame(std::string_view text) {
  if (text.size() < 3) return false;
  const std::string_view body = text.substr(0, text.size() - 2);
  return FrameChecksum(body) == HexValue(text.substr(text.size() - 2));
}

std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = text.find('\t', start);
    fields.emplace_back(text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace qm47
