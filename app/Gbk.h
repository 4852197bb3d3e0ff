// GBK at the file boundary: memory and the database hold UTF-8.
#pragma once

#include <optional>
#include <string>

namespace vantrel {

// nullopt when the text holds a character GBK cannot encode.
std::optional<std::string> Utf8ToGbk(const std::string& utf8);
// Undecodable bytes become U+FFFD; never fails.
std::string GbkToUtf8(const std::string& gbk);
// Bytes the text takes in GBK; nullopt when it cannot be encoded.
std::optional<std::size_t> GbkLength(const std::string& utf8);

// Like Utf8ToGbk, but a character GBK cannot encode becomes "?" (as the ANSI
// conversions of the desktop do); for logs, where something must be written.
std::string Utf8ToGbkLossy(const std::string& utf8);
// The lossy GBK form cut to at most maxBytes without splitting a character.
std::string GbkPrefix(const std::string& utf8, std::size_t maxBytes);

// A name takes at most 50 bytes in GBK (25 Chinese characters).
inline constexpr std::size_t kMaxNameBytes = 50;

}  // namespace vantrel
