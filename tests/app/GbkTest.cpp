#include <gtest/gtest.h>

#include "app/Gbk.h"

namespace vantrel {
namespace {

TEST(Gbk, EncodesAndDecodesAtTheFileBoundary) {
  struct Case {
    std::string utf8;
    std::optional<std::string> gbk;
  };
  const Case cases[] = {
      {"", std::string()},
      {"LoadDate=2008-3-5", std::string("LoadDate=2008-3-5")},
      {"长度", std::string("\xB3\xA4\xB6\xC8")},
      {"米/秒", std::string("\xC3\xD7/\xC3\xEB")},
      {"\xF0\x9F\x98\x80", std::nullopt},  // an emoji has no GBK form
      {"a\xFF", std::nullopt},             // not UTF-8 at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
    if (c.gbk) {
      EXPECT_EQ(GbkToUtf8(*c.gbk), c.utf8);
      EXPECT_EQ(GbkLength(c.utf8), c.gbk->size());
    } else {
      EXPECT_EQ(GbkLength(c.utf8), std::nullopt);
    }
  }
}

TEST(Gbk, NameLimitIsFiftyBytes) {
  std::string twentyFive;
  for (int i = 0; i < 25; ++i) twentyFive += "米";
  EXPECT_EQ(GbkLength(twentyFive), kMaxNameBytes);
  EXPECT_EQ(GbkLength(twentyFive + "a"), kMaxNameBytes + 1);
}

TEST(Gbk, BrokenBytesAndUnencodableCharactersNeverFail) {
  EXPECT_EQ(GbkToUtf8("a\xB3"), "a\xEF\xBF\xBD");  // a lead byte cut off
  EXPECT_EQ(GbkToUtf8("\xFF"
                      "b"),
            "\xEF\xBF\xBD"
            "b");  // not a GBK byte
  EXPECT_EQ(Utf8ToGbkLossy("a\xF0\x9F\x98\x80长"), "a?\xB3\xA4");
}

TEST(Gbk, PrefixNeverSplitsACharacter) {
  struct Case {
    std::string utf8;
    std::size_t max;
    std::string gbk;
  };
  const Case cases[] = {
      {"abc", 128, "abc"},     {"长度", 4, "\xB3\xA4\xB6\xC8"},
      {"长度", 3, "\xB3\xA4"}, {"a长度", 4, "a\xB3\xA4"},
      {"a长度", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8 + " " + std::to_string(c.max));
    EXPECT_EQ(GbkPrefix(c.utf8, c.max), c.gbk);
  }
}

}  // namespace
}  // namespace vantrel
