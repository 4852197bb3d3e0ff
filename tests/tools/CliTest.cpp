// vantrel-cli run as a process: its commands on the shipped catalogue, line-by-line
// conversion from stdin, name resolution and error statuses on a store of the test's own.
#include <gtest/gtest.h>

#include <set>

#include "catalogue/UntDM.h"
#include "tests/tools/ToolsTestSupport.h"
#include "tools/CatalogueSource.h"

namespace vantrel::testing {
namespace {

ProcessResult Cli(const std::vector<std::string>& args, const std::string& input = "",
                  const std::string& workDir = "") {
  return RunProcess(VANTREL_CLI_PATH, args, input, workDir);
}

std::set<std::string> LineSet(const std::string& text) {
  auto lines = Lines(text);
  return {lines.begin(), lines.end()};
}

TEST(CliShipped, ListsCategoriesAndUnits) {
  ProcessResult categories = Cli({"categories"});
  EXPECT_EQ(categories.status, 0) << categories.err;
  auto names = Lines(categories.out);
  EXPECT_GE(names.size(), 15u);
  EXPECT_EQ(names.front(), "长度");

  ProcessResult units = Cli({"units", "长度"});
  EXPECT_EQ(units.status, 0) << units.err;
  auto lines = LineSet(units.out);
  EXPECT_TRUE(lines.count("米\t1"));
  EXPECT_TRUE(lines.count("千米\t1000"));
  EXPECT_TRUE(lines.count("市尺\t0.333333333333333"));

  ProcessResult unknown = Cli({"units", "温度"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_NE(unknown.err.find("温度"), std::string::npos);
}

TEST(CliShipped, SearchesByAnyPartOrBeginningWithWildcards) {
  ProcessResult anyPart = Cli({"search", "海里"});
  EXPECT_EQ(anyPart.status, 0) << anyPart.err;
  EXPECT_EQ(LineSet(anyPart.out), (std::set<std::string>{"海里\t长度", "平方海里\t面积"}));

  ProcessResult begin = Cli({"search", "--begin", "海里"});
  EXPECT_EQ(LineSet(begin.out), (std::set<std::string>{"海里\t长度"}));

  ProcessResult wildcard = Cli({"search", "--begin", "平方_米"});
  EXPECT_EQ(LineSet(wildcard.out),
            (std::set<std::string>{"平方千米\t面积", "平方分米\t面积", "平方厘米\t面积",
                                   "平方毫米\t面积", "平方微米\t面积", "平方厘米每秒\t运动黏度",
                                   "平方毫米每秒\t运动黏度"}));
  EXPECT_EQ(LineSet(Cli({"search", "光_"}).out),
            (std::set<std::string>{"光秒\t长度", "光分\t长度", "光时\t长度", "光日\t长度",
                                   "光年\t长度", "光速\t速度"}));

  ProcessResult none = Cli({"search", "没有这种单位"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");
}

struct ConvertCase {
  std::vector<std::string> args;
  std::string out;
  int status;
};

TEST(CliShipped, ConvertsArgumentsAsTheResultFieldShowsThem) {
  const ConvertCase cases[] = {
      {{"convert", "千米", "米", "5"}, "5000\n", 0},
      {{"convert", "米", "千米", "1", "123456.7", "-2.5"}, "0.001\n123.4567\n-0.0025\n", 0},
      {{"convert", "英寸", "厘米", "1", "abc", "", "  ", " 2 ", "1,5", "+5"},
       "2.54\n含有非法字符!\n\n\n5.08\n含有非法字符!\n12.7\n",
       0},
      {{"convert", "千米", "米", "1e400", "2"}, "\n2000\n", 1},
      {{"convert", "kib", "字节", "1"}, "1024\n", 0},  // letter case ignored when no exact match
      {{"convert", "--", "千米", "米", "-1"}, "-1000\n", 0},
      {{"convert", "市分", "市厘", "--category", "质量", "3"}, "30\n", 0},
      {{"convert", "--category=长度", "市里", "米", "3"}, "1500\n", 0},
  };
  for (const ConvertCase& c : cases) {
    ProcessResult r = Cli(c.args);
    EXPECT_EQ(r.out, c.out) << ::testing::PrintToString(c.args);
    EXPECT_EQ(r.status, c.status) << ::testing::PrintToString(c.args) << r.err;
  }
}

TEST(CliShipped, StdinLinesStayAlignedThroughBadValuesAndErrors) {
  ProcessResult r = Cli({"convert", "千米", "米"}, "1\nabc\n1e400\n\n  \n2.5\r\n1e-400\n7");
  EXPECT_EQ(r.out, "1000\n含有非法字符!\n\n\n\n2500\n0\n7000\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vantrel-cli: 第 3 行：EOverflow: Floating point overflow\n");
}

TEST(CliShipped, LongStdinIsConvertedAcrossReadBlocks) {
  // Well over one read block, so lines are split at block edges.
  std::string input, expected;
  for (int i = 0; i < 300000; ++i) {
    input += std::to_string(i) + ".5\n";
    expected += std::to_string(i * 1000 + 500) + "\n";
  }
  input += std::string(3 << 20, ' ') + "4\n";  // one line longer than a block
  expected += "4000\n";
  ProcessResult r = Cli({"convert", "千米", "米"}, input);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out == expected) << "output differs; " << Lines(r.out).size() << " lines";
}

TEST(CliShipped, FindsItsDataFromAnotherWorkingDirectory) {
  // A data folder in the working directory must not be taken for the program's own.
  TempDir cwd;
  WriteCatalogue(ParseCatalogueSource("长度 | 米\n长度 | 尺 | 2 | 米\n").catalogue,
                 (cwd.path() / "data").string());
  ProcessResult r = Cli({"convert", "千米", "米", "5"}, "", cwd.str());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "5000\n");
}

TEST(CliShipped, HelpAndUsageErrors) {
  ProcessResult help = Cli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("convert"), std::string::npos);
  EXPECT_NE(help.out.find("C/POSIX"), std::string::npos);
  EXPECT_EQ(Cli({"convert", "-h"}).status, 0);

  const std::vector<std::string> usageErrors[] = {
      {},
      {"convert"},
      {"convert", "米"},
      {"frobnicate"},
      {"categories", "extra"},
      {"search"},
      {"--bogus", "categories"},
      {"--data"},
      {"categories", "--begin"},
      {"units", "长度", "--category", "长度"},
  };
  for (const auto& args : usageErrors) {
    ProcessResult r = Cli(args);
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(r.out, "") << ::testing::PrintToString(args);
    EXPECT_FALSE(r.err.empty()) << ::testing::PrintToString(args);
  }
}

// A store of the test's own: the same name in two categories, names that differ only in
// letter case, and a unit of ratio 0 as unit maintenance can leave one.
class CliOwnData : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteCatalogue(ParseCatalogueSource("长度 | 米\n"
                                        "长度 | mm | 0.001 | 米\n"
                                        "长度 | Mm | 10^6 | 米\n"
                                        "长度 | 分 | 0.01 | 米\n"
                                        "时间 | 秒\n"
                                        "时间 | 分 | 60 | 秒\n")
                       .catalogue,
                   data_.str());
    TDMMain dm(data_.str());
    int length = dm.Categories().front().id;
    dm.AddUnit("零", length, 0, *dm.BaseUnitId(length));
  }

  ProcessResult Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"--data", data_.str()});
    return Cli(args, input);
  }

  TempDir data_;
};

TEST_F(CliOwnData, ResolvesUnitNames) {
  const ConvertCase cases[] = {
      {{"convert", "mm", "米", "1"}, "0.001\n", 0},
      {{"convert", "Mm", "mm", "1"}, "1000000000\n", 0},
      {{"convert", "MM", "米", "1"}, "", 2},      // two units differ only in case
      {{"convert", "分", "秒", "1"}, "60\n", 0},  // the pair picks the category
      {{"convert", "分", "米", "1"}, "0.01\n", 0},
      {{"convert", "分", "分", "1"}, "", 2},
      {{"convert", "--category", "时间", "分", "分", "2"}, "2\n", 0},
      {{"convert", "--category", "时间", "分", "米", "1"}, "", 2},
      {{"convert", "--category", "重量", "分", "秒", "1"}, "", 2},
      {{"convert", "米", "秒", "1"}, "", 2},
      {{"convert", "公尺", "米", "1"}, "", 2},
      {{"convert", "千米", "米", "1"}, "", 2},  // only in the shipped catalogue
  };
  for (const ConvertCase& c : cases) {
    ProcessResult r = Run(c.args, "1\n");
    EXPECT_EQ(r.out, c.out) << ::testing::PrintToString(c.args);
    EXPECT_EQ(r.status, c.status) << ::testing::PrintToString(c.args);
    if (c.status == 2) {
      EXPECT_NE(r.err.find("vantrel-cli: "), std::string::npos);
    }
  }
  EXPECT_NE(Run({"convert", "分", "分", "1"}).err.find("--category"), std::string::npos);
  EXPECT_NE(Run({"convert", "公尺", "米", "1"}).err.find("“公尺”"), std::string::npos);
}

TEST_F(CliOwnData, ListsItsOwnCatalogue) {
  EXPECT_EQ(Run({"categories"}).out, "长度\n时间\n");
  EXPECT_EQ(Run({"search", "m"}).out.size(), std::string("mm\t长度\nMm\t长度\n").size());
}

TEST_F(CliOwnData, ErrorsOfTheRuleNameTheirKind) {
  ProcessResult r = Run({"convert", "米", "零", "1", "0", "x", "2"});
  EXPECT_EQ(r.out, "\n\n含有非法字符!\n\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "vantrel-cli: 第 1 个数值：EZeroDivide: Floating point division by zero\n"
            "vantrel-cli: 第 2 个数值：EInvalidOp: Invalid floating point operation\n"
            "vantrel-cli: 第 4 个数值：EZeroDivide: Floating point division by zero\n");
}

TEST(CliData, MissingDataFolderIsReportedAndNotCreated) {
  TempDir dir;
  const fs::path missing = dir.path() / "nothing";
  ProcessResult r = Cli({"--data", missing.string(), "categories"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(missing.string()), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
}  // namespace vantrel::testing
