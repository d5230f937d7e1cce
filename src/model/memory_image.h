// The radio's settings memory and the field encodings every setting is built from.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "model/memory_map.h"

namespace qm47 {

struct Channel;

// Bits of one byte value (bit 0 least significant).
bool GetBit(std::uint8_t byte, int bit);
void SetBit(std::uint8_t& byte, int value, int bit);  // only value 1 sets the bit
int GetBitField(std::uint8_t byte, int topBit, int width);
void SetBitField(std::uint8_t& byte, int topBit, int width, int value);

// Character sets of text fields.
bool InNameCharset(char c);
bool InCallSignCharset(char c);

// Which flag of a channel a flag table holds.
using ChannelFlag = bool Channel::*;

class MemoryImage {
 public:
  using Bytes = std::array<std::uint8_t, kImageSize>;

  MemoryImage();  // every byte 0xFF

  void Fill(std::uint8_t value);
  const Bytes& bytes() const { return bytes_; }
  Bytes& bytes() { return bytes_; }
  bool operator==(const MemoryImage&) const = default;

  std::uint8_t GetByte(Address a) const;
  // Values outside 0..255 are clamped so they never spill into other fields.
  void SetByte(Address a, int value);
  bool GetBool(Address a) const { return GetByte(a) != 0; }
  void SetBool(Address a, bool value) { SetByte(a, value ? 1 : 0); }

  bool GetBitAt(Address a, int bit) const { return GetBit(GetByte(a), bit); }
  void SetBitAt(Address a, bool value, int bit);

  int GetWordBE(Address a) const;
  // Negative values and values above 65535 store 0xFF 0xFF, the empty word.
  void SetWordBE(Address a, std::int32_t value);

  void GetFlagTable(Address start, int byteCount, std::span<Channel> channels, ChannelFlag flag) const;
  void SetFlagTable(Address start, int byteCount, std::span<const Channel> channels, ChannelFlag flag);

  std::string GetText(Address start, int length) const;
  std::string GetTextSkipping(Address start, int length) const;
  void SetText(Address start, const std::string& text, int length);
  // Stores the text right-justified to its last `length` characters.
  void SetCallSign(Address start, const std::string& text, int length);

  std::string GetDigits(Address start) const;
  void SetDigits(Address start, const std::string& text, bool lastNibbleZero);

  double GetFrequency(Address start) const;
  // Frequencies not above 100 MHz, at or above 200 MHz, or not a number store 0x00 0x00 0x00.
  void SetFrequency(Address start, double mhz);

  int GetOffset(Address a) const;
  void SetOffset(Address a, int halfHours);

  std::uint8_t Sum8(Address start, int count) const;

 private:
  std::uint8_t& at(Address a);
  Bytes bytes_;
};

// "  A" for "A" in three places; the last `length` characters of a longer text.
std::string RightJustified(const std::string& text, int length);

}  // namespace qm47
