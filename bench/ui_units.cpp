// Opening the unit window on a category of 1,000 units, offscreen: from creating the
// window to its first painted frame, and the same for the unit dialog's chooser.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/Paths.h"
#include "catalogue/Store.h"
#include "catalogue/UntDM.h"
#include "ui/UntAddDw.h"
#include "ui/UntSetDw.h"

namespace {

constexpr int kUnits = 1000;  // besides the base unit

void Exec(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "?";
    sqlite3_free(message);
    throw std::runtime_error(sql + ": " + text);
  }
}

// One category, the first the window shows, with its base unit and kUnits units stated
// against it; the rows go in as one transaction on a plain connection.
void Fill(const std::string& dataDir, vantrel::TDMMain& dm) {
  const int category = dm.AddCategory("长度", "米");
  dm.AddCategory("重量", "千克");
  const int base = *dm.BaseUnitId(category);
  sqlite3* db = nullptr;
  if (sqlite3_open((dataDir + "Dw.dat").c_str(), &db) != SQLITE_OK)
    throw std::runtime_error("cannot open Dw.dat");
  Exec(db, "BEGIN");
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
  Exec(db, "COMMIT");
  sqlite3_close(db);
}

struct Setup {
  QTemporaryDir dir;
  std::unique_ptr<vantrel::TDMMain> dm;
  int category = 0;

  Setup() {
    QDir(dir.path()).mkdir(QStringLiteral("data"));
    const std::string program = dir.path().toStdString() + "/";
    vantrel::CreateStore(program + "data/", std::string("bench"));
    vantrel::SetExecutableDirForTesting(program);
    dm = std::make_unique<vantrel::TDMMain>(program + "data/");
    Fill(program + "data/", *dm);
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
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Setup s;
  setup = &s;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  setup = nullptr;
  return 0;
}
