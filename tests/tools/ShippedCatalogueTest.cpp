// The catalogue that ships with the program, as the build generated it.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "catalogue/UntDM.h"
#include "conversion/ConvertText.h"
#include "conversion/NumberText.h"
#include "tests/tools/ToolsTestSupport.h"

namespace vantrel::testing {
namespace {

class ShippedCatalogue : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator("."); }

  // ConvertText on the two units' ratio texts, as the main window does it.
  std::string Convert(const std::string& category, const std::string& input,
                      const std::string& from, const std::string& to) {
    for (const CategoryItem& c : dm_.Categories()) {
      if (c.name != category) continue;
      std::vector<std::string> ratios;
      int fromIndex = -1, toIndex = -1;
      for (const UnitItem& u : dm_.Units(c.id)) {
        if (u.name == from) fromIndex = static_cast<int>(ratios.size());
        if (u.name == to) toIndex = static_cast<int>(ratios.size());
        ratios.push_back(u.ratioText);
      }
      if (fromIndex < 0 || toIndex < 0) return "<no such unit>";
      return ConvertText(input, ratios, fromIndex, toIndex);
    }
    return "<no such category>";
  }

  TDMMain dm_{VANTREL_SHIPPED_DATA_DIR};
};

TEST_F(ShippedCatalogue, HasTheCategoriesUnitsAndVersion) {
  EXPECT_EQ(dm_.DataVersion(), "2026-12-11");
  auto categories = dm_.Categories();
  EXPECT_GE(categories.size(), 15u);
  std::size_t units = 0;
  std::set<std::string> categoryNames;
  for (const CategoryItem& c : categories) {
    EXPECT_TRUE(categoryNames.insert(c.name).second) << c.name;
    auto list = dm_.Units(c.id);
    units += list.size();
    std::optional<int> base = dm_.BaseUnitId(c.id);
    ASSERT_TRUE(base) << c.name;
    std::set<std::string> names;
    for (const UnitItem& u : list) {
      EXPECT_TRUE(names.insert(u.name).second) << c.name << " / " << u.name;
      if (u.id == *base) {
        EXPECT_EQ(u.ratioText, "1") << c.name;
      }
    }
  }
  EXPECT_GE(units, 250u);
  for (const char* name : {"长度", "面积", "体积", "质量", "时间", "速度", "加速度", "力", "压强",
                           "能量", "功率", "角度", "数据存储", "频率", "流量"}) {
    EXPECT_TRUE(categoryNames.count(name)) << name;
  }
  EXPECT_FALSE(categoryNames.count("温度"));  // not a ratio scale
}

TEST_F(ShippedCatalogue, EveryNameFitsGbkIn50Bytes) {
  for (const CategoryItem& c : dm_.Categories()) {
    std::vector<std::string> names{c.name};
    for (const UnitItem& u : dm_.Units(c.id)) names.push_back(u.name);
    for (const std::string& name : names) {
      std::optional<std::size_t> size = GbkSize(name);
      ASSERT_TRUE(size) << name;
      EXPECT_LE(*size, 50u) << name;
      EXPECT_GT(*size, 0u);
    }
  }
}

struct SpotCheck {
  const char* category;
  const char* input;
  const char* from;
  const char* to;
  const char* result;
};

TEST_F(ShippedCatalogue, KnownDefinitionsConvertExactly) {
  const SpotCheck cases[] = {
      {"长度", "5", "千米", "米", "5000"},
      {"长度", "1", "英里", "米", "1609.344"},
      {"长度", "1", "英寸", "厘米", "2.54"},
      {"长度", "1", "英尺", "米", "0.3048"},
      {"长度", "1", "海里", "米", "1852"},
      {"长度", "1", "光年", "米", "9.4607304725808E15"},
      {"长度", "1", "天文单位", "米", "149597870700"},
      {"长度", "1", "秒差距", "米", "3.08567758149137E16"},
      {"长度", "1", "市尺", "米", "0.333333333333333"},
      {"长度", "1", "市里", "米", "500"},
      {"长度", "1", "美制测量英尺", "米", "0.304800609601219"},
      {"面积", "1", "亩", "平方米", "666.666666666667"},
      {"面积", "1", "英亩", "平方米", "4046.8564224"},
      {"面积", "1", "顷", "公顷", "6.66666666666667"},
      {"体积", "1", "美制加仑", "升", "3.785411784"},
      {"体积", "1", "英制加仑", "升", "4.54609"},
      {"体积", "1", "市斗", "升", "10"},
      {"质量", "1", "磅", "千克", "0.45359237"},
      {"质量", "1", "市斤", "千克", "0.5"},
      {"质量", "1", "市两", "克", "50"},
      {"质量", "1", "盎司", "克", "28.349523125"},
      {"质量", "1", "金衡盎司", "克", "31.1034768"},
      {"质量", "1", "司马斤", "千克", "0.60478982"},
      {"时间", "1", "儒略年", "天", "365.25"},
      {"速度", "1", "节", "千米每小时", "1.852"},
      {"力", "1", "磅力", "牛顿", "4.4482216152605"},
      {"压强", "1", "标准大气压", "帕斯卡", "101325"},
      {"压强", "1", "毫米汞柱", "帕斯卡", "133.322387415"},
      {"能量", "1", "千卡", "焦耳", "4186.8"},
      {"能量", "1", "千瓦时", "焦耳", "3600000"},
      {"能量", "1", "电子伏特", "焦耳", "1.602176634E-19"},
      {"能量", "1", "英热单位", "焦耳", "1055.05585262"},
      {"功率", "1", "公制马力", "瓦特", "735.49875"},
      {"功率", "1", "马力", "瓦特", "745.69987158227"},
      {"角度", "180", "度", "弧度", "3.14159265358979"},
      {"角度", "1", "密位", "弧度", "0.0010471975511966"},
      {"数据存储", "1", "KiB", "字节", "1024"},
      {"数据存储", "1", "吉字节", "兆字节", "1000"},
      {"电荷", "1", "法拉第", "库仑", "96485.33212331"},
      {"放射性活度", "1", "居里", "贝可勒尔", "37000000000"},
  };
  for (const SpotCheck& c : cases) {
    EXPECT_EQ(Convert(c.category, c.input, c.from, c.to), c.result)
        << c.input << " " << c.from << " -> " << c.to;
  }
}

}  // namespace
}  // namespace vantrel::testing
