// The catalogue builder: factor expressions, the line format with each kind of bad
// line, and writing a store that the data module reads back.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>

#include "catalogue/UntDM.h"
#include "tests/tools/ToolsTestSupport.h"
#include "tools/CatalogueSource.h"

namespace vantrel::testing {
namespace {

struct FactorCase {
  const char* expression;
  double expected;  // the factor rounded to double
};

TEST(EvaluateFactor, ExactDefinitionsEvaluate) {
  const FactorCase cases[] = {
      {"1000", 1000},
      {" 12 ", 12},
      {"1/3", 1.0 / 3},
      {"10^-9", 1e-9},
      {"10^-28", 1e-28},
      {"10^6", 1e6},
      {"2^10", 1024},
      {"2^-3", 0.125},
      {"0.0254^2", 0.00064516},
      {"0.45359237*9.80665", 4.4482216152605},
      {"(1/3)^2", 1.0 / 9},
      {"3.7*10^10", 3.7e10},
      {"1.602176634e-19", 1.602176634e-19},
      {"4.54609e-3/60", 0.00454609 / 60},
      {"648000/pi", 206264.80624709636},
      {"2*\u03C0", 6.283185307179586},
      {"43560*(1200/3937)^2", 4046.872609874252},
  };
  for (const FactorCase& c : cases) {
    long double value = 0;
    std::string error;
    ASSERT_TRUE(EvaluateFactor(c.expression, value, error)) << c.expression << ": " << error;
    EXPECT_EQ(static_cast<double>(value), c.expected) << c.expression;
  }
}

TEST(EvaluateFactor, MalformedOrNonPositiveFactorsAreRefused) {
  const char* cases[] = {"",       "  ",       "abc",  "1 2", "1//2", "2^",     "2^1.5", "2^3^2",
                         "(1",     "1)",       "1e",   "-5",  "0",    "0*5",    "1/0",   "1/(1-1)",
                         "1e5000", "10^-5000", "5 米", "1,5", ".",    "2^99999"};
  for (const char* expression : cases) {
    long double value = 0;
    std::string error;
    EXPECT_FALSE(EvaluateFactor(expression, value, error)) << '"' << expression << '"';
    EXPECT_FALSE(error.empty()) << expression;
  }
}

constexpr const char kTinySource[] =
    "\xEF\xBB\xBF# a tiny catalogue\r\n"
    "@version 2026-12-11\r\n"
    "\n"
    "长度 | 米\n"
    "长度 | 市尺 | 1/3 | 米   # statutory\n"
    "长度 | 市寸 | 1/10 | 市尺\n"
    "长度 | 千米 | 1000 | 米\n"
    "  质量 |  千克  \n"
    "质量 | 市斤 | 0.5 | 千克\n"
    "长度 | 里 | 500 | 米\n";

TEST(ParseCatalogueSource, ReadsCategoriesUnitsAndVersion) {
  ParsedSource parsed = ParseCatalogueSource(kTinySource);
  ASSERT_TRUE(parsed.errors.empty()) << parsed.errors.front().message;
  EXPECT_EQ(parsed.catalogue.version, "2026-12-11");
  const auto& categories = parsed.catalogue.categories;
  ASSERT_EQ(categories.size(), 2u);
  EXPECT_EQ(categories[0].name, "长度");
  EXPECT_EQ(categories[1].name, "质量");

  const auto& length = categories[0].units;
  ASSERT_EQ(length.size(), 5u);
  EXPECT_EQ(length[0].name, "米");
  EXPECT_EQ(length[0].baseRatio, 1);
  EXPECT_TRUE(length[0].reference.empty());
  EXPECT_EQ(length[2].name, "市寸");
  EXPECT_EQ(length[2].reference, "市尺");
  EXPECT_EQ(length[2].line, 6);
  // The chain 1/10 × 1/3 is rounded to double once, so it lands on the double nearest 1/30.
  EXPECT_EQ(length[2].baseRatio, 1.0 / 30);
  EXPECT_EQ(length[4].name, "里");
  EXPECT_EQ(length[4].baseRatio, 500);
  EXPECT_EQ(categories[1].units[0].name, "千克");
  EXPECT_EQ(categories[1].units[1].baseRatio, 0.5);
}

struct BadLineCase {
  const char* line;
  const char* message;  // a part of the expected message
};

TEST(ParseCatalogueSource, EveryKindOfBadLineIsReportedWithItsLineNumber) {
  const std::string good = "长度 | 米\n长度 | 千米 | 1000 | 米\n";
  const BadLineCase cases[] = {
      {"长度 | 厘米 | 0.01", "expected"},
      {"长度 | 厘米 | 0.01 | 米 | 米", "expected"},
      {"长度", "expected"},
      {"长度 | 厘米 | 0.01 | 公尺", "unknown reference unit \"公尺\""},
      {"长度 | 厘米 | 0.01 | 毫米", "unknown reference unit"},  // defined only later
      {"长度 | 千克 | 1 | 克", "unknown reference unit"},
      {"长度 | 千米 | 1000 | 米", "already defined"},
      {"长度 | 米 | 1 | 米", "already defined"},
      {"长度 | 厘米", "already has its base unit"},
      {"质量 | 克 | 0.001 | 千克", "has no base unit"},
      {"长度 | 厘米 | abc | 米", "bad factor"},
      {"长度 | 厘米 | 0 | 米", "bad factor"},
      {"长度 | 厘米 |  | 米", "bad factor"},
      {"长度 | 巨 | 10^400 | 米", "out of the range"},
      {"长度 | 微 | 10^-400 | 米", "out of the range"},
      {"长度 |  | 2 | 米", "unit name is empty"},
      {" | 米", "category name is empty"},
      {"长度 | 一二三四五六七八九十一二三四五六七八九十一二三四五六", "more than 50"},
      {"长度 | \xF0\x9F\x98\x80 | 2 | 米", "not GBK-encodable"},
      {"长度 | \xC3\x28 | 2 | 米", "not GBK-encodable"},  // not UTF-8 at all
      {"长度 | a\tb | 2 | 米", "control character"},
      {"@versio 1", "unknown directive"},
      {"@version", "version text is empty"},
  };
  for (const BadLineCase& c : cases) {
    ParsedSource parsed = ParseCatalogueSource(good + c.line + "\n长度 | 毫米 | 0.001 | 米\n");
    ASSERT_EQ(parsed.errors.size(), 1u) << c.line;
    EXPECT_EQ(parsed.errors[0].line, 3) << c.line;
    EXPECT_NE(parsed.errors[0].message.find(c.message), std::string::npos)
        << c.line << " -> " << parsed.errors[0].message;
  }
}

TEST(ParseCatalogueSource, NameOfExactly25ChineseCharactersIsAccepted) {
  ParsedSource parsed = ParseCatalogueSource(
      "长度 | 米\n长度 | 一二三四五六七八九十一二三四五六七八九十一二三四五 | 2 | 米\n"
      "@version 1\n@version 2\n");
  ASSERT_EQ(parsed.errors.size(), 1u);
  EXPECT_EQ(parsed.errors[0].line, 4);
  EXPECT_NE(parsed.errors[0].message.find("second @version"), std::string::npos);
  EXPECT_EQ(parsed.catalogue.categories[0].units.size(), 2u);
}

// The store's DYJLDWID column, read behind the data module's back.
std::map<std::string, std::string> References(const fs::path& dwFile) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(dwFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT u.DWMC, r.DWMC, u.Jbdw FROM DW u JOIN DW r ON r.DWID = u.DYJLDWID "
                     "WHERE u.DWID <> -100",
                     -1, &st, nullptr);
  std::map<std::string, std::string> refs;
  while (sqlite3_step(st) == SQLITE_ROW) {
    auto text = [&](int i) {
      return std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
    };
    refs[text(0)] = text(1) + (sqlite3_column_int(st, 2) ? " base" : "");
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return refs;
}

TEST(WriteCatalogue, WritesAStoreTheDataModuleReads) {
  TempDir dir;
  ParsedSource parsed = ParseCatalogueSource(kTinySource);
  WriteCatalogue(parsed.catalogue, dir.str());

  TDMMain dm(dir.str());
  EXPECT_EQ(dm.DataVersion(), "2026-12-11");
  auto categories = dm.Categories();
  ASSERT_EQ(categories.size(), 2u);
  std::map<std::string, std::string> ratios;
  for (const UnitItem& u : dm.Units(categories[0].id)) ratios[u.name] = u.ratioText;
  EXPECT_EQ(ratios, (std::map<std::string, std::string>{{"米", "1"},
                                                        {"市尺", "0.333333333333333"},
                                                        {"市寸", "0.0333333333333333"},
                                                        {"千米", "1000"},
                                                        {"里", "500"}}));
  EXPECT_EQ(References(dir.path() / "Dw.dat"),
            (std::map<std::string, std::string>{{"米", "米 base"},
                                                {"市尺", "米"},
                                                {"市寸", "市尺"},
                                                {"千米", "米"},
                                                {"里", "米"},
                                                {"千克", "千克 base"},
                                                {"市斤", "千克"}}));
  // Only the three store files are left; the work folder is gone.
  std::set<std::string> files;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    files.insert(entry.path().filename().string());
  }
  EXPECT_EQ(files, (std::set<std::string>{"Dw.dat", "Lb.dat", "Lb.idx"}));
}

TEST(WriteCatalogue, ReplacesAnEarlierCatalogue) {
  TempDir dir;
  WriteCatalogue(ParseCatalogueSource(kTinySource).catalogue, dir.str());
  WriteCatalogue(ParseCatalogueSource("时间 | 秒\n时间 | 分钟 | 60 | 秒\n").catalogue, dir.str());
  TDMMain dm(dir.str());
  auto categories = dm.Categories();
  ASSERT_EQ(categories.size(), 1u);
  EXPECT_EQ(categories[0].name, "时间");
  EXPECT_EQ(dm.Units(categories[0].id).size(), 2u);
  EXPECT_EQ(dm.DataVersion(), std::nullopt);
}

TEST(MakeCatalogue, BadSourceFailsAndLeavesTheOldCatalogue) {
  TempDir dir;
  const fs::path data = dir.path() / "data";
  const fs::path good = dir.path() / "good.txt", bad = dir.path() / "bad.txt";
  WriteFile(good, kTinySource);
  WriteFile(bad,
            "长度 | 米\n长度 | 千米 | 1000 | 米\n长度 | 厘米 | 1/0 | 米\n长度 | 毫 | 1 | 公尺\n");

  ProcessResult built = RunProcess(VANTREL_MAKE_CATALOGUE_PATH, {good.string(), data.string()});
  ASSERT_EQ(built.status, 0) << built.err;
  const std::string before = ReadFile(data / "Dw.dat");

  ProcessResult failed = RunProcess(VANTREL_MAKE_CATALOGUE_PATH, {bad.string(), data.string()});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find(bad.string() + ":3: error: bad factor"), std::string::npos)
      << failed.err;
  EXPECT_NE(failed.err.find(bad.string() + ":4: error: unknown reference unit"), std::string::npos)
      << failed.err;
  EXPECT_EQ(ReadFile(data / "Dw.dat"), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(data), fs::directory_iterator()), 3);

  ProcessResult missing =
      RunProcess(VANTREL_MAKE_CATALOGUE_PATH, {(dir.path() / "none.txt").string(), data.string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(ReadFile(data / "Dw.dat"), before);
}

}  // namespace
}  // namespace vantrel::testing
