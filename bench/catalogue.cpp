// The data module on a large catalogue: 100 categories of 1,000 units each.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/Store.h"
#include "catalogue/UntDM.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCategories = 100;
constexpr int kUnitsPerCategory = 1000;

const char* const kCategoryWords[] = {"长度", "质量", "面积", "体积", "时间",
                                      "能量", "功率", "压强", "速度", "力"};
const char* const kPrefixes[] = {"千", "毫", "微", "厘", "分", "十", "百", "兆"};
const char* const kRoots[] = {"米",   "克",   "平方米", "立方米", "秒",
                              "焦耳", "瓦特", "帕斯卡", "米每秒", "牛顿"};

void Exec(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message != nullptr ? message : "?";
    sqlite3_free(message);
    throw std::runtime_error(sql + ": " + text);
  }
}

// Built once: writing 100,000 rows through the data module, one transaction each,
// would take minutes, so the rows go in as one transaction on a plain connection.
class BigCatalogue {
 public:
  BigCatalogue() {
    std::string pattern = (fs::temp_directory_path() / "vantrel-bench-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    vantrel::CreateStore(dir_.string(), std::string("2010-12-09"));
    Fill();
    dm_ = std::make_unique<vantrel::TDMMain>(dir_.string());
    firstCategory_ = dm_->Categories().at(0).id;
  }
  ~BigCatalogue() {
    dm_.reset();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  vantrel::TDMMain& dm() { return *dm_; }
  int firstCategory() const { return firstCategory_; }

 private:
  void Fill() {
    sqlite3* db = nullptr;
    sqlite3_open((dir_ / "Lb.dat").c_str(), &db);
    Exec(db, "ATTACH DATABASE '" + (dir_ / "Dw.dat").string() + "' AS dw");
    Exec(db, "BEGIN");
    sqlite3_stmt* lb = nullptr;
    sqlite3_stmt* dw = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO LB (LBMC) VALUES (?1)", -1, &lb, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO dw.DW (DWMC, SSLBID, JBBZ, Jbdw, DYJLDWID)"
                       " VALUES (?1, ?2, ?3, ?4, ?5)",
                       -1, &dw, nullptr);
    for (int c = 0; c < kCategories; ++c) {
      std::string category = std::string(kCategoryWords[c % 10]) + std::to_string(c);
      sqlite3_bind_text(lb, 1, category.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(lb);
      sqlite3_reset(lb);
      sqlite3_int64 categoryId = sqlite3_last_insert_rowid(db);
      sqlite3_int64 baseId = 0;
      for (int u = 0; u < kUnitsPerCategory; ++u) {
        std::string name = u == 0
                               ? std::string(kRoots[c % 10])
                               : kPrefixes[u % 8] + std::string(kRoots[c % 10]) + std::to_string(u);
        sqlite3_bind_text(dw, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(dw, 2, categoryId);
        sqlite3_bind_double(dw, 3, u == 0 ? 1.0 : 1.0 / (u + 2) * 1000.0);
        sqlite3_bind_int(dw, 4, u == 0 ? 1 : 0);
        if (u == 0) {
          sqlite3_bind_null(dw, 5);
        } else {
          sqlite3_bind_int64(dw, 5, baseId);
        }
        sqlite3_step(dw);
        sqlite3_reset(dw);
        if (u == 0) {
          baseId = sqlite3_last_insert_rowid(db);
          Exec(db, "UPDATE dw.DW SET DYJLDWID = DWID WHERE DWID = " + std::to_string(baseId));
        }
      }
    }
    sqlite3_finalize(lb);
    sqlite3_finalize(dw);
    Exec(db, "COMMIT");
    sqlite3_close(db);
  }

  fs::path dir_;
  std::unique_ptr<vantrel::TDMMain> dm_;
  int firstCategory_ = 0;
};

BigCatalogue& Catalogue() {
  static BigCatalogue catalogue;
  return catalogue;
}

void BM_UnitsOfOneCategory(benchmark::State& state) {
  vantrel::TDMMain& dm = Catalogue().dm();
  size_t listed = 0;
  for (auto _ : state) {
    auto units = dm.Units(Catalogue().firstCategory());
    listed = units.size();
    benchmark::DoNotOptimize(units);
  }
  state.counters["units"] = static_cast<double>(listed);
}
BENCHMARK(BM_UnitsOfOneCategory)->Unit(benchmark::kMillisecond);

void Search(benchmark::State& state, const std::string& pattern) {
  vantrel::TDMMain& dm = Catalogue().dm();
  size_t hits = 0;
  for (auto _ : state) {
    auto found = dm.SearchUnits(pattern);
    hits = found.size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["hits"] = static_cast<double>(hits);
}
// Units of the 秒 and 米每秒 categories numbered 12 and 120 to 129: 220 of them.
BENCHMARK_CAPTURE(Search, AnyPart, std::string("%秒12%"))->Unit(benchmark::kMillisecond);
// 千焦耳 units numbered 16 and 104 to 192: 130 of them.
BENCHMARK_CAPTURE(Search, Beginning, std::string("千焦耳1%"))->Unit(benchmark::kMillisecond);

void BM_AddUnit(benchmark::State& state) {
  vantrel::TDMMain& dm = Catalogue().dm();
  int category = Catalogue().firstCategory();
  int base = *dm.BaseUnitId(category);
  std::vector<int> added;
  for (auto _ : state) {
    added.push_back(dm.AddUnit("新单位" + std::to_string(added.size()), category, 2.5, base));
  }
  for (int id : added) dm.DeleteUnit(category, id);
}
BENCHMARK(BM_AddUnit)->Unit(benchmark::kMillisecond);

void BM_DeleteUnit(benchmark::State& state) {
  vantrel::TDMMain& dm = Catalogue().dm();
  int category = Catalogue().firstCategory();
  int base = *dm.BaseUnitId(category);
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    int id = dm.AddUnit("待删除" + std::to_string(n++), category, 2.5, base);
    state.ResumeTiming();
    dm.DeleteUnit(category, id);
  }
}
BENCHMARK(BM_DeleteUnit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
