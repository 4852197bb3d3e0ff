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

// A name takes at most 50 bytes in GBK (25 Chinese characters).
inline constexpr std::size_t kMaxNameBytes = 50;

}  // namespace vantrel
