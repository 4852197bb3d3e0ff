// The data module's operations and the catalogue's invariants.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <set>

#include "conversion/ConvertText.h"
#include "conversion/Errors.h"
#include "tests/catalogue/StoreFixture.h"

namespace vantrel::testing {
namespace {

class CatalogueTest : public StoreTest {
 protected:
  // 米 (base), 千米 = 1000 米, 英里 = 1.609344 千米, 码 = 0.9144 米.
  void AddLength() {
    length_ = dm_->AddCategory("长度", "米");
    metre_ = *dm_->BaseUnitId(length_);
    km_ = dm_->AddUnit("千米", length_, 1000, metre_);
    mile_ = dm_->AddUnit("英里", length_, 1609.344, km_);
    yard_ = dm_->AddUnit("码", length_, 0.9144, metre_);
  }

  // What the main window computes: value in `from` expressed in `to`.
  std::string Convert(const std::string& input, int from, int to) {
    std::vector<UnitItem> units = dm_->Units(length_);
    std::vector<std::string> ratios;
    int fromIndex = -1, toIndex = -1;
    for (size_t i = 0; i < units.size(); ++i) {
      ratios.push_back(units[i].ratioText);
      if (units[i].id == from) fromIndex = static_cast<int>(i);
      if (units[i].id == to) toIndex = static_cast<int>(i);
    }
    return ConvertText(input, ratios, fromIndex, toIndex);
  }

  std::string RefOf(int unitId) {
    for (const UnitDefinition& unit : dm_->NonBaseUnits(length_)) {
      if (unit.id == unitId) return unit.refIdText;
    }
    return "<missing>";
  }

  int length_ = 0, metre_ = 0, km_ = 0, mile_ = 0, yard_ = 0;
};

TEST_F(CatalogueTest, NewCategoryHasOneSelfReferringBaseUnitAndNoStoredPair) {
  int id = dm_->AddCategory("长度", "米");
  std::optional<int> base = dm_->BaseUnitId(id);
  ASSERT_TRUE(base);
  // Ids come after the version row's -100, never next to it.
  EXPECT_GT(id, 0);
  EXPECT_GT(*base, 0);

  ASSERT_EQ(dm_->Categories().size(), 1u);
  EXPECT_EQ(dm_->Categories()[0].id, id);
  EXPECT_EQ(dm_->Categories()[0].name, "长度");
  ASSERT_EQ(dm_->Units(id).size(), 1u);
  EXPECT_EQ(dm_->Units(id)[0].name, "米");
  EXPECT_EQ(dm_->Units(id)[0].ratioText, "1");
  EXPECT_TRUE(dm_->NonBaseUnits(id).empty());
  EXPECT_FALSE(dm_->CategoryHasOtherUnits(id));
  ASSERT_EQ(dm_->CategoryGrid().size(), 1u);
  EXPECT_EQ(dm_->CategoryGrid()[0].baseUnitId, *base);
  EXPECT_EQ(dm_->CategoryGrid()[0].baseUnitName, "米");

  const std::string sid = std::to_string(id), sbase = std::to_string(*base);
  EXPECT_EQ(RawDb(Dw()).Dump("SELECT JBBZ, Jbdw, DYJLDWID, SSLBID FROM DW WHERE DWID = " + sbase),
            "1.0|1|" + sbase + "|" + sid + "\n");
  EXPECT_EQ(RawDb(Lb()).Dump("SELECT DW1, DW2 FROM LB"), "<null>|<null>\n");

  std::optional<UnitPairNames> pair = dm_->UnitPair(id);
  ASSERT_TRUE(pair);
  EXPECT_EQ(pair->from, "");
  EXPECT_EQ(pair->to, "");
  dm_->SaveUnitPair(id, "米", "千米");
  EXPECT_EQ(dm_->UnitPair(id)->from, "米");
  EXPECT_EQ(dm_->UnitPair(id)->to, "千米");
  EXPECT_FALSE(dm_->UnitPair(id + 1));
}

TEST_F(CatalogueTest, RatioOfOneThirdIsReadAndUsedAtFifteenDigits) {
  length_ = dm_->AddCategory("长度", "米");
  metre_ = *dm_->BaseUnitId(length_);
  int third = dm_->AddUnit("三分之一米", length_, 1.0 / 3.0, metre_);

  ASSERT_EQ(dm_->NonBaseUnits(length_).size(), 1u);
  EXPECT_EQ(dm_->NonBaseUnits(length_)[0].ratioText, "0.333333333333333");
  EXPECT_EQ(dm_->NonBaseUnits(length_)[0].refIdText, std::to_string(metre_));
  EXPECT_EQ(dm_->Units(length_)[1].ratioText, "0.333333333333333");
  // With the stored double this would come out as 1.
  EXPECT_EQ(Convert("3", third, metre_), "0.999999999999999");
}

TEST_F(CatalogueTest, DeletingAUnitRepointsItsDependantsWithoutChangingTheirConversions) {
  AddLength();
  const std::string mileInMetres = Convert("1", mile_, metre_);
  const std::string mileInYards = Convert("1", mile_, yard_);
  ASSERT_EQ(mileInMetres, "1609.344");
  ASSERT_EQ(RefOf(mile_), std::to_string(km_));

  dm_->DeleteUnit(length_, km_);

  EXPECT_EQ(RefOf(km_), "<missing>");
  EXPECT_EQ(RefOf(mile_), std::to_string(metre_));
  EXPECT_EQ(RefOf(yard_), std::to_string(metre_));
  EXPECT_EQ(Convert("1", mile_, metre_), mileInMetres);
  EXPECT_EQ(Convert("1", mile_, yard_), mileInYards);
  EXPECT_EQ(dm_->Units(length_).size(), 3u);
}

TEST_F(CatalogueTest, ChangingAUnitLeavesUnitsDefinedAgainstItAlone) {
  AddLength();
  const std::string before = Convert("1", mile_, metre_);

  dm_->ModifyUnit(km_, "公里", length_, 2000, metre_);

  EXPECT_EQ(Convert("1", km_, metre_), "2000");
  EXPECT_EQ(Convert("1", mile_, metre_), before);
  EXPECT_EQ(RefOf(mile_), std::to_string(km_));
  EXPECT_EQ(dm_->Units(length_)[1].name, "公里");
}

TEST_F(CatalogueTest, CategoryIsDeletedOnlyWhenItHoldsNothingButItsBaseUnit) {
  AddLength();
  int mass = dm_->AddCategory("质量", "千克");
  dm_->AddUnit("克", mass, 0.001, *dm_->BaseUnitId(mass));
  const std::string before = Tables();

  EXPECT_TRUE(dm_->CategoryHasOtherUnits(length_));
  EXPECT_FALSE(dm_->DeleteCategory(length_));
  EXPECT_EQ(Tables(), before);

  for (int unit : {km_, mile_, yard_}) dm_->DeleteUnit(length_, unit);
  EXPECT_FALSE(dm_->CategoryHasOtherUnits(length_));
  EXPECT_TRUE(dm_->DeleteCategory(length_));

  ASSERT_EQ(dm_->Categories().size(), 1u);
  EXPECT_EQ(dm_->Categories()[0].name, "质量");
  EXPECT_TRUE(dm_->Units(length_).empty());
  EXPECT_EQ(RawDb(Dw()).Dump("SELECT count(*) FROM DW WHERE SSLBID = " + std::to_string(length_)),
            "0\n");
  EXPECT_EQ(dm_->Units(mass).size(), 2u);
  EXPECT_EQ(dm_->DataVersion(), "2010-12-09");
}

TEST_F(CatalogueTest, RenamingChangesTheCategoryAndItsBaseUnitOnly) {
  AddLength();
  int other = dm_->AddCategory("质量", "千克");
  dm_->RenameCategory(length_, "质量", metre_, "公尺");  // duplicates are the caller's call

  EXPECT_EQ(dm_->SearchCategories("质量").size(), 2u);
  EXPECT_EQ(dm_->Units(length_)[0].name, "公尺");
  EXPECT_EQ(dm_->Units(length_)[0].ratioText, "1");
  EXPECT_EQ(dm_->Units(other)[0].name, "千克");
}

TEST_F(CatalogueTest, VersionRowNeverShowsInAnyListOrSearch) {
  AddLength();
  EXPECT_EQ(dm_->DataVersion(), "2010-12-09");

  for (int category : {length_, -100}) {
    for (const UnitItem& unit : dm_->Units(category)) EXPECT_NE(unit.id, -100);
    for (const UnitItem& unit : dm_->ReferenceCandidates(category, std::nullopt)) {
      EXPECT_NE(unit.id, -100);
    }
    for (const UnitDefinition& unit : dm_->NonBaseUnits(category)) EXPECT_NE(unit.id, -100);
    EXPECT_NE(dm_->BaseUnitId(category), -100);
  }
  for (const UnitSearchHit& hit : dm_->SearchUnits("%")) EXPECT_NE(hit.unitName, "2010-12-09");
  EXPECT_EQ(dm_->SearchUnits("2010%").size(), 0u);
  for (const CategoryGridRow& row : dm_->CategoryGrid()) EXPECT_NE(row.baseUnitId, -100);
  EXPECT_FALSE(dm_->UnitNameTaken("2010-12-09", -100, std::nullopt));

  // Not even an operation aimed at its pseudo category reaches it.
  EXPECT_TRUE(dm_->DeleteCategory(-100));
  EXPECT_EQ(dm_->DataVersion(), "2010-12-09");
}

TEST(CatalogueWithoutVersion, HasNoDataVersionAndStartsIdsAtOne) {
  TempDir dir;
  CreateStore(dir.path().string(), std::nullopt);
  TDMMain dm(dir.path().string());
  EXPECT_FALSE(dm.DataVersion());
  EXPECT_EQ(dm.AddCategory("长度", "米"), 1);
}

TEST_F(CatalogueTest, NamesAreStoredAndMatchedExactlyAsTyped) {
  struct Case {
    std::string name;
    std::vector<std::string> notMatching;
  };
  const Case cases[] = {
      {"O'Brien", {"OBrien", "O''Brien"}},
      {"x'); DROP TABLE LB; --", {"x"}},
      {"100%", {"100", "100x", "1000"}},
      {"a_b", {"axb", "ab"}},
      {"\"引号\"", {"引号"}},
      {" 前后空格 ", {"前后空格", " 前后空格"}},
      {"back\\slash", {"backslash"}},
      {"一二三四五六七八九十一二三四五六七八九十一二三四五", {"一二三四五六七八九十一二三四"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int category = dm_->AddCategory(c.name, c.name);
    int unit = dm_->AddUnit(c.name + "#", category, 2, *dm_->BaseUnitId(category));

    EXPECT_TRUE(dm_->CategoryExists(c.name));
    EXPECT_TRUE(dm_->UnitNameTaken(c.name, category, std::nullopt));
    EXPECT_TRUE(dm_->UnitNameTaken(c.name + "#", category, std::nullopt));
    EXPECT_FALSE(dm_->UnitNameTaken(c.name + "#", category, unit));
    EXPECT_EQ(dm_->Units(category)[0].name, c.name);
    EXPECT_EQ(dm_->Categories().back().name, c.name);
    EXPECT_EQ(dm_->CategoryGrid().back().baseUnitName, c.name);
    for (const std::string& other : c.notMatching) {
      EXPECT_FALSE(dm_->CategoryExists(other)) << other;
      EXPECT_FALSE(dm_->UnitNameTaken(other, category, std::nullopt)) << other;
    }
    dm_->SaveUnitPair(category, c.name, c.name + "#");
    EXPECT_EQ(dm_->UnitPair(category)->from, c.name);
    EXPECT_EQ(dm_->UnitPair(category)->to, c.name + "#");
  }
  EXPECT_EQ(dm_->Categories().size(), std::size(cases));
}

TEST_F(CatalogueTest, SearchPatternsKeepTheirWildcards) {
  AddLength();
  int area = dm_->AddCategory("面积", "平方米");
  int base = *dm_->BaseUnitId(area);
  for (const char* name : {"厘米", "100%浓度", "a_b", "axb", "O'Brien"}) {
    dm_->AddUnit(name, area, 2, base);
  }
  const std::pair<std::string, std::set<std::string>> cases[] = {
      {"%米%", {"米", "千米", "平方米", "厘米"}},
      {"米%", {"米"}},
      {"_米", {"千米", "厘米"}},
      {"%方%", {"平方米"}},
      {"a_b", {"a_b", "axb"}},
      {"100%", {"100%浓度"}},
      {"%'%", {"O'Brien"}},
      {"%'", {}},
      {"", {}},
      {"%", {"米", "千米", "英里", "码", "平方米", "厘米", "100%浓度", "a_b", "axb", "O'Brien"}},
  };
  for (const auto& [pattern, expected] : cases) {
    SCOPED_TRACE(pattern);
    std::set<std::string> found;
    for (const UnitSearchHit& hit : dm_->SearchUnits(pattern)) {
      found.insert(hit.unitName);
      EXPECT_EQ(hit.categoryName, hit.categoryId == area ? "面积" : "长度");
    }
    EXPECT_EQ(found, expected);
  }
  EXPECT_EQ(dm_->SearchCategories("%积"), std::vector<std::string>{"面积"});
  EXPECT_EQ(dm_->SearchCategories("_度"), std::vector<std::string>{"长度"});
  EXPECT_EQ(dm_->SearchCategories("%").size(), 2u);
  EXPECT_TRUE(dm_->SearchCategories("度").empty());
}

TEST_F(CatalogueTest, UnitNamesAndReferencesAreCheckedWithinTheCategory) {
  AddLength();
  int mass = dm_->AddCategory("质量", "千克");

  EXPECT_TRUE(dm_->UnitNameTaken("米", length_, std::nullopt));  // base unit included
  EXPECT_TRUE(dm_->UnitNameTaken("千米", length_, mile_));
  EXPECT_FALSE(dm_->UnitNameTaken("千米", length_, km_));
  EXPECT_FALSE(dm_->UnitNameTaken("千米", mass, std::nullopt));

  std::set<int> all, withoutKm;
  for (const UnitItem& u : dm_->ReferenceCandidates(length_, std::nullopt)) all.insert(u.id);
  for (const UnitItem& u : dm_->ReferenceCandidates(length_, km_)) withoutKm.insert(u.id);
  EXPECT_EQ(all, (std::set<int>{metre_, km_, mile_, yard_}));
  EXPECT_EQ(withoutKm, (std::set<int>{metre_, mile_, yard_}));
  EXPECT_EQ(dm_->ReferenceCandidates(length_, km_)[0].ratioText, "1");
}

// Writes that would break an invariant or store a ratio no calculation can use are
// refused before anything changes.
TEST_F(CatalogueTest, InvalidWritesAreRefusedAndChangeNothing) {
  AddLength();
  int mass = dm_->AddCategory("质量", "千克");
  int kg = *dm_->BaseUnitId(mass);
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"infinite ratio", [&] { dm_->AddUnit("x", length_, inf, metre_); }},
      {"negative infinite ratio", [&] { dm_->AddUnit("x", length_, -inf, metre_); }},
      {"NaN ratio", [&] { dm_->AddUnit("x", length_, nan, metre_); }},
      {"modify to NaN", [&] { dm_->ModifyUnit(km_, "千米", length_, nan, metre_); }},
      {"modify to infinity", [&] { dm_->ModifyUnit(km_, "千米", length_, inf, metre_); }},
      {"unit in a missing category", [&] { dm_->AddUnit("x", 9999, 1, metre_); }},
      {"reference from another category", [&] { dm_->AddUnit("x", length_, 1, kg); }},
      {"modify the base unit", [&] { dm_->ModifyUnit(metre_, "米", length_, 5, km_); }},
      {"modify into another category", [&] { dm_->ModifyUnit(km_, "千米", mass, 5, kg); }},
      {"modify against itself", [&] { dm_->ModifyUnit(km_, "千米", length_, 5, km_); }},
      {"delete the base unit", [&] { dm_->DeleteUnit(length_, metre_); }},
  };
  const std::string before = Tables();
  for (const auto& [what, write] : cases) {
    SCOPED_TRACE(what);
    try {
      write();
      ADD_FAILURE() << "not refused";
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.kind(), "EDatabaseError");
      EXPECT_FALSE(e.message().empty());
    }
    EXPECT_EQ(Tables(), before);
  }
}

}  // namespace
}  // namespace vantrel::testing
