// The radio's text frames: command, TAB-separated fields, an exclusive-or checksum, CR LF.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm47 {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kCr = 0x0D;
inline constexpr std::uint8_t kLf = 0x0A;
inline constexpr std::uint8_t kTab = 0x09;
inline constexpr std::uint8_t kCan = 0x18;
inline constexpr std::uint8_t kAck = 0x06;

// Upper-case hex, zero-padded to `digits`; longer values keep their last `digits` digits.
std::string HexField(unsigned value, int digits);
// Two upper-case hex digits per byte, in order.
std::string HexData(std::span<const std::uint8_t> bytes);

// Exclusive-or of every byte.
std::uint8_t FrameChecksum(std::string_view text);

// command TAB [address TAB] [length TAB] [data TAB] checksum CR LF; empty fields are left out.
Bytes BuildFrame(std::string_view command, std::string_view address, std::string_view length,
                 std::string_view data);

// Leading hexadecimal digits of `text` (any case); none read as 0. Values beyond
// 32 bits saturate, so a caller comparing with an address or length sees a mismatch.
std::uint64_t HexValue(std::string_view text);

// Frame text without CR LF: the exclusive-or of all but the last two characters equals
// the last two read as hexadecimal.
bool CheckFrame(std::string_view text);

// The text split at every TAB (an empty text gives one empty field).
std::vector<std::string> SplitFields(std::string_view text);

}  // namespace qm47
