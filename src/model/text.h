// Small text steps every layer shares: letters compared and cased the ASCII way (names,
// keys and file suffixes are ASCII; the locale must not change what matches), and trimming.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm47 {

bool SameIgnoringCase(std::string_view a, std::string_view b);
std::string Upper(std::string_view text);
std::string Lower(std::string_view text);
// Without the leading and trailing characters of `spaces`.
std::string_view Trimmed(std::string_view text, std::string_view spaces = " \t\r\n");

// UTF-8 to characters; nothing when the bytes are not UTF-8.
std::optional<std::u32string> DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);

}  // namespace qm47
