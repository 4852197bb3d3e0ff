// HELP.TXT as delivered in the program folder.
#include <gtest/gtest.h>
#include <iconv.h>

#include <QFile>
#include <optional>
#include <string>

namespace {

QByteArray ReadFile(const char* path) {
  QFile f(QString::fromUtf8(path));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Strict GBK to UTF-8: nullopt at the first byte sequence that is not GBK.
std::optional<std::string> DecodeGbk(const QByteArray& gbk) {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(static_cast<std::size_t>(gbk.size()) * 2 + 16, '\0');
  char* in = const_cast<char*>(gbk.constData());
  std::size_t inLeft = static_cast<std::size_t>(gbk.size());
  char* to = out.data();
  std::size_t toLeft = out.size();
  const std::size_t rc = iconv(cd, &in, &inLeft, &to, &toLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - toLeft);
  return out;
}

TEST(HelpText, IsTheSourceInGbkWithCrLfLineEnds) {
  const QByteArray help = ReadFile(VANTREL_HELP_FILE);
  const QByteArray source = ReadFile(VANTREL_HELP_SOURCE);
  ASSERT_FALSE(help.isEmpty()) << VANTREL_HELP_FILE;
  ASSERT_FALSE(source.isEmpty()) << VANTREL_HELP_SOURCE;

  for (qsizetype i = 0; i < help.size(); ++i) {
    if (help[i] == '\n') {
      ASSERT_TRUE(i > 0 && help[i - 1] == '\r') << "bare LF at byte " << i;
    }
    if (help[i] == '\r') {
      ASSERT_TRUE(i + 1 < help.size() && help[i + 1] == '\n') << "bare CR at byte " << i;
    }
  }
  EXPECT_TRUE(help.endsWith("\r\n"));

  const auto text = DecodeGbk(help);
  ASSERT_TRUE(text) << "not valid GBK";
  EXPECT_EQ(*text, QByteArray(source).replace("\n", "\r\n").toStdString());
}

TEST(HelpText, CoversWhatTheUserNeeds) {
  const auto text = DecodeGbk(ReadFile(VANTREL_HELP_FILE));
  ASSERT_TRUE(text);
  const char* const topics[] = {
      "换算",       "单位交换",  "任何部分匹配", "开头部分匹配", "%",   "_",           "参照单位",
      "基本单位",   "删除",      "F1",           "F3",           "F4",  "F5",          "F9",
      "Ctrl+X",     "Ctrl+C",    "Ctrl+V",       "Enter",        "Esc", "vantrel-cli", "data/",
      "syscfg.ini", "Error.log", "Kelvora",      "Munsett",
  };
  for (const char* topic : topics) EXPECT_NE(text->find(topic), std::string::npos) << topic;
}

}  // namespace
