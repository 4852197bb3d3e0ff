// From a key press in the unit search's edit box to the redrawn result list, offscreen,
// on a catalogue of 100 categories with 1,000 units each.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/Paths.h"
#include "catalogue/Store.h"
#include "catalogue/UntDM.h"
#include "ui/UntDwJs.h"

namespace {

constexpr int kCategories = 100;
constexpr int kUnitsPerCategory = 1000;

const char* const kRoots[] = {"米",   "克",   "平方米", "立方米", "秒",
                              "焦耳", "瓦特", "帕斯卡", "米每秒", "牛顿"};

void Exec(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "?";
    sqlite3_free(message);
    throw std::runtime_error(sql + ": " + text);
  }
}

// Unit names are a root and a six-digit serial ("米000123"), so a few typed digits pick
// out a handful of units and a wildcard all of them. The rows go in as one transaction
// on a plain connection: 100,000 single-row operations would take minutes.
void Fill(const std::string& dataDir) {
  sqlite3* db = nullptr;
  if (sqlite3_open((dataDir + "Lb.dat").c_str(), &db) != SQLITE_OK)
    throw std::runtime_error("cannot open Lb.dat");
  Exec(db, "ATTACH DATABASE '" + dataDir + "Dw.dat' AS dw");
  Exec(db, "BEGIN");
  sqlite3_stmt* lb = nullptr;
  sqlite3_stmt* dw = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO LB (LBMC) VALUES (?1)", -1, &lb, nullptr);
  sqlite3_prepare_v2(db,
                     "INSERT INTO dw.DW (DWMC, SSLBID, JBBZ, Jbdw, DYJLDWID)"
                     " VALUES (?1, ?2, ?3, ?4, NULL)",
                     -1, &dw, nullptr);
  int serial = 0;
  for (int c = 0; c < kCategories; ++c) {
    const std::string category = "类别" + std::to_string(c);
    sqlite3_bind_text(lb, 1, category.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(lb);
    sqlite3_reset(lb);
    const sqlite3_int64 categoryId = sqlite3_last_insert_rowid(db);
    for (int u = 0; u < kUnitsPerCategory; ++u, ++serial) {
      char number[16];
      std::snprintf(number, sizeof number, "%06d", serial);
      const std::string name = kRoots[c % 10] + std::string(number);
      sqlite3_bind_text(dw, 1, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(dw, 2, categoryId);
      sqlite3_bind_double(dw, 3, u == 0 ? 1.0 : 1.0 + u);
      sqlite3_bind_int(dw, 4, u == 0 ? 1 : 0);
      if (sqlite3_step(dw) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
      sqlite3_reset(dw);
    }
  }
  sqlite3_finalize(lb);
  sqlite3_finalize(dw);
  Exec(db, "COMMIT");
  sqlite3_close(db);
}

struct Setup {
  QTemporaryDir dir;
  std::unique_ptr<vantrel::TDMMain> dm;

  Setup() {
    QDir(dir.path()).mkdir(QStringLiteral("data"));
    const std::string program = dir.path().toStdString() + "/";
    vantrel::CreateStore(program + "data/", std::string("bench"));
    Fill(program + "data/");
    vantrel::SetExecutableDirForTesting(program);
    dm = std::make_unique<vantrel::TDMMain>(program + "data/");
  }
};

Setup* setup = nullptr;

// Each iteration is one key press that changes the text and so searches: the key,
// then the Backspace that takes it away again, and so on. The time runs until the
// list has been laid out and painted.
void KeyPressToList(benchmark::State& state, const QString& text, Qt::Key key, bool beginning) {
  vantrel::TFrmDwJs dialog(*setup->dm);
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) {
    state.SkipWithError("the dialog was never shown");
    return;
  }
  if (beginning)
    QTest::mouseClick(dialog.findChild<QRadioButton*>(QStringLiteral("FlatRadioButtonKtBf")),
                      Qt::LeftButton);
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("FlatEditNr"));
  auto* list = dialog.findChild<QAbstractItemView*>(QStringLiteral("RzListBoxJg"));
  edit->setText(text);
  QApplication::processEvents();

  bool typeKey = true;
  qint64 lines = 0;
  for (auto _ : state) {
    QTest::keyClick(edit, typeKey ? key : Qt::Key_Backspace);
    QApplication::processEvents();
    lines += list->model()->rowCount();
    typeKey = !typeKey;
  }
  state.counters["lines"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
  if (lines == 0) state.SkipWithError("nothing was listed");
}

// A few digits of a serial: a handful of lines.
void BM_KeyPressFewLines(benchmark::State& state) {
  KeyPressToList(state, QStringLiteral("0123"), Qt::Key_4, false);
}
BENCHMARK(BM_KeyPressFewLines)->Unit(benchmark::kMillisecond);

// One root at the beginning: a tenth of the catalogue.
void BM_KeyPressTenthOfCatalogue(benchmark::State& state) {
  KeyPressToList(state, QStringLiteral("焦耳"), Qt::Key_0, true);
}
BENCHMARK(BM_KeyPressTenthOfCatalogue)->Unit(benchmark::kMillisecond);

// A wildcard: every one of the 100,000 units, each time.
void BM_KeyPressWholeCatalogue(benchmark::State& state) {
  KeyPressToList(state, QStringLiteral("%"), Qt::Key_Percent, false);
}
BENCHMARK(BM_KeyPressWholeCatalogue)->Unit(benchmark::kMillisecond);

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
