#include "app/Gbk.h"

#include <iconv.h>

#include <cerrno>

namespace vantrel {
namespace {

// One conversion descriptor per call keeps this safe from any thread; glibc caches
// the loaded converter, so opening is cheap after the first time.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Length of the UTF-8 sequence a lead byte starts; 1 for a stray byte.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

enum class OnBadInput { Fail, Replace };

// Converts in, calling replace() for every input sequence the target cannot take.
// Returns false only with OnBadInput::Fail.
bool Convert(const char* to, const char* from, const std::string& in, std::string& out,
             OnBadInput mode, const std::string& replacement, bool utf8Input) {
  out.clear();
  Converter conv(to, from);
  if (!conv.ok()) return false;
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(conv.get(), &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (a truncated sequence at the end): skip one character.
    if (mode == OnBadInput::Fail) return false;
    std::size_t skip =
        utf8Input ? Utf8SequenceLength(static_cast<unsigned char>(*inPtr)) : std::size_t{1};
    if (skip > inLeft) skip = inLeft;
    inPtr += skip;
    inLeft -= skip;
    out += replacement;
    iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return true;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(const std::string& utf8) {
  std::string out;
  if (!Convert("GBK", "UTF-8", utf8, out, OnBadInput::Fail, {}, true)) return std::nullopt;
  return out;
}

std::string Utf8ToGbkLossy(const std::string& utf8) {
  std::string out;
  Convert("GBK", "UTF-8", utf8, out, OnBadInput::Replace, "?", true);
  return out;
}

std::string GbkToUtf8(const std::string& gbk) {
  std::string out;
  Convert("UTF-8", "GBK", gbk, out, OnBadInput::Replace, "\xEF\xBF\xBD", false);
  return out;
}

std::optional<std::size_t> GbkLength(const std::string& utf8) {
  const auto gbk = Utf8ToGbk(utf8);
  if (!gbk) return std::nullopt;
  return gbk->size();
}

std::string GbkPrefix(const std::string& utf8, std::size_t maxBytes) {
  const std::string gbk = Utf8ToGbkLossy(utf8);
  if (gbk.size() <= maxBytes) return gbk;
  // Walk whole characters: a byte from 0x81 up leads a two-byte character.
  std::size_t end = 0;
  while (end < gbk.size()) {
    const auto lead = static_cast<unsigned char>(gbk[end]);
    const std::size_t len = (lead >= 0x81 && lead <= 0xFE && end + 1 < gbk.size()) ? 2 : 1;
    if (end + len > maxBytes) break;
    end += len;
  }
  return gbk.substr(0, end);
}

}  // namespace vantrel
