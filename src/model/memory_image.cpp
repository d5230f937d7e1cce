#include "model/memory_image.h"

#include <stdexcept>
#include <cmath>
#include <cstdio>

#include "model/settings_record.h"

namespace qm47 {

bool GetBit(std::uint8_t byte, int bit) {
  if (bit < 0 || bit > 7) return false;
  return (byte >> bit) & 1;
}

void SetBit(std::uint8_t& byte, int value, int bit) {
  if (bit < 0 || bit > 7) return;
  const auto mask = static_cast<std::uint8_t>(1u << bit);
  byte = value == 1 ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
}

int GetBitField(std::uint8_t byte, int topBit, int width) {
  const int shift = topBit - width + 1;
  return (byte >> shift) & ((1 << width) - 1);
}

void SetBitField(std::uint8_t& byte, int topBit, int width, int value) {
  const int shift = topBit - width + 1;
  const unsigned mask = ((1u << width) - 1u) << shift;
  const unsigned bits = (static_cast<unsigned>(value) << shift) & mask;
  byte = static_cast<std::uint8_t>((byte & ~mask) | bits);
}

bool InNameCharset(char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  switch (c) {
    case '-': case '+': case '(': case ')': case '.': case '*': case '/': case ',': case ' ':
      return true;
    default:
      return false;
  }
}

bool InCallSignCharset(char c) { return c != ',' && c != ' ' && InNameCharset(c); }

MemoryImage::MemoryImage() { bytes_.fill(0xFF); }

void MemoryImage::Fill(std::uint8_t value) { bytes_.fill(value); }

namespace {
// Checked in every build: an address past the image is a fault to trap, never a stray write.
std::size_t Index(Address a) {
  if (a < 0 || a > kLastAddress) throw std::out_of_range("memory image address " + std::to_string(a));
  return static_cast<std::size_t>(a);
}
}  // namespace

std::uint8_t& MemoryImage::at(Address a) { return bytes_[Index(a)]; }

std::uint8_t MemoryImage::GetByte(Address a) const { return bytes_[Index(a)]; }

void MemoryImage::SetByte(Address a, int value) {
  if (value < 0) value = 0;
  if (value > 255) value = 255;
  at(a) = static_cast<std::uint8_t>(value);
}

void MemoryImage::SetBitAt(Address a, bool value, int bit) { SetBit(at(a), value ? 1 : 0, bit); }

int MemoryImage::GetWordBE(Address a) const { return GetByte(a) * 256 + GetByte(a + 1); }

void MemoryImage::SetWordBE(Address a, std::int32_t value) {
  if (value < 0 || value > 0xFFFF) value = 0xFFFF;
  at(a) = static_cast<std::uint8_t>(value / 256);
  at(a + 1) = static_cast<std::uint8_t>(value % 256);
}

void MemoryImage::GetFlagTable(Address start, int byteCount, std::span<Channel> channels,
                               ChannelFlag flag) const {
  std::size_t k = 0;
  for (int i = 0; i < byteCount && k < channels.size(); ++i) {
    const std::uint8_t b = GetByte(start + i);
    for (int bit = 7; bit >= 0 && k < channels.size(); --bit) channels[k++].*flag = GetBit(b, bit);
  }
}

void MemoryImage::SetFlagTable(Address start, int byteCount, std::span<const Channel> channels,
                               ChannelFlag flag) {
  std::size_t k = 0;
  for (int i = 0; i < byteCount; ++i) {
    std::uint8_t b = 0;
    for (int bit = 7; bit >= 0 && k < channels.size(); --bit) {
      if (channels[k++].*flag) b = static_cast<std::uint8_t>(b | (1u << bit));
    }
    at(start + i) = b;
    // The byte that was being filled when the list ran out is still written.
    if (k >= channels.size()) break;
  }
}

static std::string TrimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string MemoryImage::GetText(Address start, int length) const {
  std::string out;
  for (int i = 0; i < length; ++i) {
    const char c = static_cast<char>(GetByte(start + i));
    if (!InNameCharset(c)) break;
    out += c;
  }
  return TrimRight(out);
}

std::string MemoryImage::GetTextSkipping(Address start, int length) const {
  std::string out;
  for (int i = 0; i < length; ++i) {
    const char c = static_cast<char>(GetByte(start + i));
    if (InNameCharset(c)) out += c;
  }
  return TrimRight(out);
}

void MemoryImage::SetText(Address start, const std::string& text, int length) {
  for (int i = 0; i < length; ++i) {
    const bool inText = static_cast<std::size_t>(i) < text.size();
    const char c = inText ? text[static_cast<std::size_t>(i)] : '\0';
    at(start + i) = inText && InNameCharset(c) ? static_cast<std::uint8_t>(c) : 0xFF;
  }
}

std::string RightJustified(const std::string& text, int length) {
  const std::string padded = std::string(static_cast<std::size_t>(length), ' ') + text;
  return padded.substr(padded.size() - static_cast<std::size_t>(length));
}

void MemoryImage::SetCallSign(Address start, const std::string& given, int length) {
  const std::string text = RightJustified(given, length);
  for (int i = 0; i < length; ++i) {
    const char c = text[static_cast<std::size_t>(i)];
    at(start + i) = InCallSignCharset(c) ? static_cast<std::uint8_t>(c) : 0xFF;
  }
}

std::string MemoryImage::GetDigits(Address start) const {
  std::string out;
  for (int i = 0; i < 5; ++i) {
    const std::uint8_t b = GetByte(start + i);
    for (int nibble : {b >> 4, b & 0x0F}) {
      if (nibble > 9) return out;
      out += static_cast<char>('0' + nibble);
    }
  }
  return out;
}

void MemoryImage::SetDigits(Address start, const std::string& text, bool lastNibbleZero) {
  if (text.find_first_not_of(" \t") == std::string::npos) {
    for (int i = 0; i < 5; ++i) at(start + i) = 0xFF;
    return;
  }
  const std::string padded = text + std::string(10, ' ');
  auto nibble = [&](std::size_t i) -> unsigned {
    const char c = padded[i];
    return c >= '0' && c <= '9' ? static_cast<unsigned>(c - '0') : 0xFu;
  };
  for (int j = 0; j < 5; ++j) {
    const auto i = static_cast<std::size_t>(2 * j);
    at(start + j) = static_cast<std::uint8_t>((nibble(i) << 4) | nibble(i + 1));
  }
  if (lastNibbleZero) at(start + 4) = static_cast<std::uint8_t>(at(start + 4) & 0xF0);
}

double MemoryImage::GetFrequency(Address start) const {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", GetByte(start), GetByte(start + 1), GetByte(start + 2));
  // "XX.XXXX": the decimal number at its start, exactly, in units of 100 Hz.
  long whole = 0;
  int i = 0;
  for (; i < 2 && text[i] >= '0' && text[i] <= '9'; ++i) whole = whole * 10 + (text[i] - '0');
  long tenThousandths = whole * 10000;
  if (i == 2) {
    long scale = 1000;
    for (int j = 2; j < 6 && text[j] >= '0' && text[j] <= '9'; ++j, scale /= 10) {
      tenThousandths += (text[j] - '0') * scale;
    }
  }
  if (tenThousandths <= 0) return 0;  // exactly 100 MHz is not a frequency
  return static_cast<double>(1000000 + tenThousandths) / 10000.0;
}

void MemoryImage::SetFrequency(Address start, double mhz) {
  long long units = 0;  // MHz - 100, in 100 Hz steps
  if (std::isfinite(mhz) && mhz > 100) units = std::llround((mhz - 100) * 10000);
  if (units >= 1000000) units = 0;  // 200 MHz and above cannot be stored
  // Six decimal digits, two per byte, high nibble first.
  long long divisor = 100000;
  for (int j = 0; j < 3; ++j) {
    const int hi = static_cast<int>(units / divisor % 10);
    divisor /= 10;
    const int lo = static_cast<int>(units / divisor % 10);
    divisor /= 10;
    at(start + j) = static_cast<std::uint8_t>((hi << 4) | lo);
  }
}

int MemoryImage::GetOffset(Address a) const {
  const std::uint8_t b = GetByte(a);
  const int magnitude = b & 0x1F;
  return GetBit(b, 5) ? magnitude : -magnitude;
}

void MemoryImage::SetOffset(Address a, int halfHours) {
  if (halfHours < -24) halfHours = -24;
  if (halfHours > 24) halfHours = 24;
  at(a) = static_cast<std::uint8_t>((halfHours >= 0 ? 32 : 0) + std::abs(halfHours));
}

std::uint8_t MemoryImage::Sum8(Address start, int count) const {
  unsigned sum = 0;
  for (int i = 0; i < count; ++i) sum += GetByte(start + i);
  return static_cast<std::uint8_t>(sum & 0xFF);
}

}  // namespace qm47
