// What the benchmark programs share: a large catalogue written straight into a new
// store and, for the programs that open windows, an offscreen program folder and main.
// Header only: every bench/*.cpp is a program of its own.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#ifdef QT_WIDGETS_LIB
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "app/Paths.h"
#include "catalogue/Store.h"
#endif

namespace vantrel::bench {

inline void Exec(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "?";
    sqlite3_free(message);
    throw std::runtime_error(sql + ": " + text);
  }
}

// A unit as the catalogue lists it: its name and its base ratio.
struct BenchUnit {
  std::string name;
  double baseRatio;
};

// Fills an empty store with categories of unitsPerCategory units each. Unit 0 of a
// category is its base unit (unitOf's ratio for it is not used: a base unit's ratio is
// 1); every unit refers to the base unit, as the data module would write them. The rows
// go in as one transaction on a plain connection: 100,000 single-row operations through
// the data module would take minutes.
inline void FillCatalogue(const std::string& dataDir, int categories, int unitsPerCategory,
                          const std::function<std::string(int category)>& categoryName,
                          const std::function<BenchUnit(int category, int unit)>& unitOf) {
  const std::filesystem::path dir(dataDir);
  sqlite3* db = nullptr;
  if (sqlite3_open((dir / "Lb.dat").c_str(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot open Lb.dat");
  }
  sqlite3_stmt* lb = nullptr;
  sqlite3_stmt* dw = nullptr;
  try {
    Exec(db, "ATTACH DATABASE '" + (dir / "Dw.dat").string() + "' AS dw");
    Exec(db, "BEGIN");
    sqlite3_prepare_v2(db, "INSERT INTO LB (LBMC) VALUES (?1)", -1, &lb, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO dw.DW (DWMC, SSLBID, JBBZ, Jbdw, DYJLDWID)"
                       " VALUES (?1, ?2, ?3, ?4, ?5)",
                       -1, &dw, nullptr);
    auto step = [db](sqlite3_stmt* st) {
      if (sqlite3_step(st) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
      sqlite3_reset(st);
    };
    for (int c = 0; c < categories; ++c) {
      const std::string category = categoryName(c);
      sqlite3_bind_text(lb, 1, category.c_str(), -1, SQLITE_TRANSIENT);
      step(lb);
      const sqlite3_int64 categoryId = sqlite3_last_insert_rowid(db);
      sqlite3_int64 baseId = 0;
      for (int u = 0; u < unitsPerCategory; ++u) {
        const BenchUnit unit = unitOf(c, u);
        const bool base = u == 0;
        sqlite3_bind_text(dw, 1, unit.name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(dw, 2, categoryId);
        sqlite3_bind_double(dw, 3, base ? 1.0 : unit.baseRatio);
        sqlite3_bind_int(dw, 4, base ? 1 : 0);
        if (base) {
          sqlite3_bind_null(dw, 5);
        } else {
          sqlite3_bind_int64(dw, 5, baseId);
        }
        step(dw);
        if (base) {
          baseId = sqlite3_last_insert_rowid(db);
          Exec(db, "UPDATE dw.DW SET DYJLDWID = DWID WHERE DWID = " + std::to_string(baseId));
        }
      }
    }
    Exec(db, "COMMIT");
  } catch (...) {
    sqlite3_finalize(lb);
    sqlite3_finalize(dw);
    sqlite3_close(db);
    throw;
  }
  sqlite3_finalize(lb);
  sqlite3_finalize(dw);
  sqlite3_close(db);
}

#ifdef QT_WIDGETS_LIB

// A program folder in a temporary directory with a new store in its data folder; the
// windows take it for the program's own.
struct BenchProgram {
  QTemporaryDir dir;
  std::string dataDir;

  BenchProgram() {
    QDir(dir.path()).mkdir(QStringLiteral("data"));
    const std::string program = dir.path().toStdString() + "/";
    dataDir = program + "data/";
    vantrel::CreateStore(dataDir, std::string("bench"));
    vantrel::SetExecutableDirForTesting(program);
  }
};

// The main of a window benchmark: an offscreen application unless QT_QPA_PLATFORM says
// otherwise, then the program's Setup, reachable through current while the benchmarks
// run.
template <typename Setup>
int RunQtBenchmarks(int argc, char** argv, Setup*& current) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Setup setup;
  current = &setup;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  current = nullptr;
  return 0;
}

#endif

}  // namespace vantrel::bench
