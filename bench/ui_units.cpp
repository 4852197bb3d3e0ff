// Opening the unit window on a category of 1,000 units, offscreen: from creating the
// window to its first painted frame, and the same for the unit dialog's chooser.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QListWidget>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/BenchSupport.h"
#include "catalogue/UntDM.h"
#include "ui/UntAddDw.h"
#include "ui/UntSetDw.h"

namespace {

constexpr int kUnits = 1000;  // besides the base unit

// One category, the first the window shows, with its base unit and kUnits units stated
// against it; the rows go in as one transaction on a plain connection.
void Fill(const std::string& dataDir, vantrel::TDMMain& dm) {
  const int category = dm.AddCategory("长度", "米");
  dm.AddCategory("重量", "千克");
  const int base = *dm.BaseUnitId(category);
  sqlite3* db = nullptr;
  if (sqlite3_open((dataDir + "Dw.dat").c_str(), &db) != SQLITE_OK)
    throw std::runtime_error("cannot open Dw.dat");
  vantrel::bench::Exec(db, "BEGIN");
  sqlite3_stmt* dw = nullptr;
  sqlite3_prepare_v2(
      db, "INSERT INTO DW (DWMC, SSLBID, JBBZ, Jbdw, DYJLDWID) VALUES (?1, ?2, ?3, 0, ?4)", -1, &dw,
      nullptr);
  for (int u = 1; u <= kUnits; ++u) {
    const std::string name = "单位" + std::to_string(u);
    sqlite3_bind_text(dw, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(dw, 2, category);
    sqlite3_bind_double(dw, 3, 1.0 / 3.0 * u);
    sqlite3_bind_int(dw, 4, base);
    if (sqlite3_step(dw) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
    sqlite3_reset(dw);
  }
  sqlite3_finalize(dw);
  vantrel::bench::Exec(db, "COMMIT");
  sqlite3_close(db);
}

struct Setup {
  vantrel::bench::BenchProgram program;
  std::unique_ptr<vantrel::TDMMain> dm;
  int category = 0;

  Setup() {
    dm = std::make_unique<vantrel::TDMMain>(program.dataDir);
    Fill(program.dataDir, *dm);
    category = dm->Categories().front().id;
  }
};

Setup* setup = nullptr;

// Create, show and paint the window; it is destroyed at the end of the iteration.
void BM_OpenUnitWindow(benchmark::State& state) {
  qint64 listed = 0;
  for (auto _ : state) {
    vantrel::TFrmSetDw window(*setup->dm);
    window.show();
    QApplication::processEvents();
    listed += window.RzListBox1->count();
  }
  state.counters["units"] =
      benchmark::Counter(static_cast<double>(listed), benchmark::Counter::kAvgIterations);
  if (listed == 0) state.SkipWithError("nothing was listed");
}
BENCHMARK(BM_OpenUnitWindow)->Unit(benchmark::kMillisecond);

// The add dialog of that category: every unit offered as a reference.
void BM_OpenUnitDialog(benchmark::State& state) {
  vantrel::TFrmSetDw window(*setup->dm);
  for (auto _ : state) {
    vantrel::TFrmAddDw dialog(*setup->dm, &window);
    dialog.CategoryId = setup->category;
    dialog.LoadRefUnits(setup->category);
    dialog.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(dialog.JbbzList.size());
  }
}
BENCHMARK(BM_OpenUnitDialog)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return vantrel::bench::RunQtBenchmarks(argc, argv, setup);
}
