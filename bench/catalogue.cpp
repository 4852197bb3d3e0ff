// The data module on a large catalogue: 100 categories of 1,000 units each.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
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

// Built once, and written straight into the store: through the data module, one
// transaction a row, it would take minutes.
class BigCatalogue {
 public:
  BigCatalogue() {
    std::string pattern = (fs::temp_directory_path() / "vantrel-bench-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    vantrel::CreateStore(dir_.string(), std::string("2010-12-09"));
    vantrel::bench::FillCatalogue(
        dir_.string(), kCategories, kUnitsPerCategory,
        [](int c) { return std::string(kCategoryWords[c % 10]) + std::to_string(c); },
        [](int c, int u) {
          const std::string root = kRoots[c % 10];
          if (u == 0) return vantrel::bench::BenchUnit{root, 1.0};
          return vantrel::bench::BenchUnit{kPrefixes[u % 8] + root + std::to_string(u),
                                           1.0 / (u + 2) * 1000.0};
        });
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
