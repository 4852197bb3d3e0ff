#include "catalogue/UntDM.h"

#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>
#include <unordered_map>

#include "catalogue/Store.h"
#include "catalogue/StoreFiles.h"
#include "conversion/Errors.h"
#include "conversion/NumberText.h"

namespace fs = std::filesystem;

namespace vantrel {

using namespace store;

namespace {

// Lb.dat is the connection's main schema; the other two files are attached as dw and
// idx. Every statement names its schema, so a stray table of the same name in another
// file can never stand in for the real one.
constexpr const char kUnits[] =
    "SELECT DWID, DWMC, JBBZ FROM dw.DW WHERE SSLBID = ?1 AND DWID <> -100 ORDER BY DWID";
constexpr const char kUnitPair[] = "SELECT DW1, DW2 FROM main.LB WHERE LBID = ?1";
constexpr const char kSaveUnitPair[] = "UPDATE main.LB SET DW1 = ?2, DW2 = ?3 WHERE LBID = ?1";
// DW drives the join: one pass over the units, a key look-up per match.
constexpr const char kSearchUnits[] =
    "SELECT DW.DWMC, DW.SSLBID, LB.LBMC FROM dw.DW AS DW CROSS JOIN main.LB AS LB"
    " WHERE LB.LBID = DW.SSLBID AND DW.DWMC LIKE ?1 AND DW.DWID <> -100 ORDER BY DW.DWID";
constexpr const char kSearchCategories[] =
    "SELECT LBMC FROM main.LB WHERE LBMC LIKE ?1 ORDER BY LBID";
constexpr const char kDataVersion[] = "SELECT DWMC FROM dw.DW WHERE DWID = -100 AND SSLBID = -100";
constexpr const char kCategories[] = "SELECT LBID, LBMC FROM main.LB ORDER BY LBID";
constexpr const char kCategoryGrid[] =
    "SELECT LB.LBID, LB.LBMC, DW.DWID, DW.DWMC FROM main.LB AS LB CROSS JOIN dw.DW AS DW"
    " WHERE DW.SSLBID = LB.LBID AND DW.Jbdw = 1 ORDER BY LB.LBID, DW.DWID";
constexpr const char kCategoryByName[] = "SELECT 1 FROM main.LB WHERE LBMC = ?1 LIMIT 1";
constexpr const char kCategoryById[] = "SELECT 1 FROM main.LB WHERE LBID = ?1";
constexpr const char kInsertCategory[] = "INSERT INTO main.LB (LBMC) VALUES (?1)";
constexpr const char kInsertBaseUnit[] =
    "INSERT INTO dw.DW (DWMC, SSLBID, JBBZ, Jbdw) VALUES (?1, ?2, 1, 1)";
constexpr const char kReferToSelf[] = "UPDATE dw.DW SET DYJLDWID = DWID WHERE DWID = ?1";
constexpr const char kRenameCategory[] = "UPDATE main.LB SET LBMC = ?2 WHERE LBID = ?1";
constexpr const char kRenameUnit[] = "UPDATE dw.DW SET DWMC = ?2 WHERE DWID = ?1";
constexpr const char kOtherUnits[] =
    "SELECT 1 FROM dw.DW WHERE Jbdw = 0 AND SSLBID = ?1 AND DWID <> -100 LIMIT 1";
constexpr const char kDeleteCategoryUnits[] =
    "DELETE FROM dw.DW WHERE SSLBID = ?1 AND DWID <> -100";
constexpr const char kDeleteCategory[] = "DELETE FROM main.LB WHERE LBID = ?1";
constexpr const char kNonBaseUnits[] =
    "SELECT DWID, DWMC, JBBZ, DYJLDWID FROM dw.DW"
    " WHERE Jbdw = 0 AND SSLBID = ?1 AND DWID <> -100 ORDER BY DWID";
constexpr const char kReferenceCandidates[] =
    "SELECT DWID, DWMC, JBBZ FROM dw.DW"
    " WHERE SSLBID = ?1 AND DWID IS NOT ?2 AND DWID <> -100 ORDER BY DWID";
constexpr const char kBaseUnitId[] =
    "SELECT DWID FROM dw.DW WHERE Jbdw = 1 AND SSLBID = ?1 AND DWID <> -100"
    " ORDER BY DWID LIMIT 1";
constexpr const char kUnitNameTaken[] =
    "SELECT 1 FROM dw.DW WHERE DWMC = ?1 AND SSLBID = ?2 AND DWID IS NOT ?3 AND DWID <> -100"
    " LIMIT 1";
constexpr const char kUnitInCategory[] =
    "SELECT Jbdw FROM dw.DW WHERE DWID = ?1 AND SSLBID = ?2 AND DWID <> -100";
constexpr const char kInsertUnit[] =
    "INSERT INTO dw.DW (DWMC, SSLBID, JBBZ, Jbdw, DYJLDWID) VALUES (?1, ?2, ?3, 0, ?4)";
constexpr const char kModifyUnit[] =
    "UPDATE dw.DW SET DWMC = ?2, JBBZ = ?3, Jbdw = 0, DYJLDWID = ?4"
    " WHERE DWID = ?1 AND SSLBID = ?5 AND Jbdw = 0";
constexpr const char kDeleteUnit[] =
    "DELETE FROM dw.DW WHERE SSLBID = ?1 AND DWID = ?2 AND Jbdw = 0";
constexpr const char kRepoint[] =
    "UPDATE dw.DW SET DYJLDWID = ?3 WHERE SSLBID = ?1 AND DYJLDWID = ?2";

constexpr int kBusyRetries = 15;
constexpr std::chrono::milliseconds kBusyPause{100};

const char kOperationFailed[] = "数据库操作失败";

int RetryWhileBusy(void*, int attempts) {
  if (attempts >= kBusyRetries) return 0;
  std::this_thread::sleep_for(kBusyPause);
  return 1;
}

int ToId(sqlite3_int64 value) {
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    throw EDatabaseError("数据文件中的编号超出范围: " + std::to_string(value));
  }
  return static_cast<int>(value);
}

// One use of a cached statement: parameters bound, rows stepped, and the statement
// reset and cleared again however the use ends.
class Query {
 public:
  Query(sqlite3* db, sqlite3_stmt* st) : db_(db), st_(st) {}
  ~Query() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
  }
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  Query& Bind(int index, int value) { return Check(sqlite3_bind_int(st_, index, value)); }
  Query& Bind(int index, double value) { return Check(sqlite3_bind_double(st_, index, value)); }
  Query& Bind(int index, const std::string& text) {
    return Check(sqlite3_bind_text(st_, index, text.data(), static_cast<int>(text.size()),
                                   SQLITE_TRANSIENT));
  }
  Query& Bind(int index, std::optional<int> value) {  // null when absent
    return value ? Bind(index, *value) : Check(sqlite3_bind_null(st_, index));
  }

  // True while there is a row to read.
  bool Next() {
    int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    RaiseSqlite(db_, rc, kOperationFailed);
  }
  // Runs a statement that returns no rows; gives the number of rows it changed.
  int Run() {
    while (Next()) {
    }
    return sqlite3_changes(db_);
  }

  bool IsNull(int col) const { return sqlite3_column_type(st_, col) == SQLITE_NULL; }
  bool Flag(int col) const { return !IsNull(col) && sqlite3_column_int(st_, col) != 0; }
  int Id(int col) const { return ToId(sqlite3_column_int64(st_, col)); }
  std::string Text(int col) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st_, col));
    if (text == nullptr) return std::string();
    return std::string(text, static_cast<size_t>(sqlite3_column_bytes(st_, col)));
  }
  // A base ratio leaves the store only as number text.
  std::string RatioText(int col) const {
    if (IsNull(col)) return std::string();
    return FormatNumber(static_cast<Extended>(sqlite3_column_double(st_, col)));
  }

 private:
  Query& Check(int rc) {
    if (rc != SQLITE_OK) RaiseSqlite(db_, rc, kOperationFailed);
    return *this;
  }

  sqlite3* db_;
  sqlite3_stmt* st_;
};

void RequireFiniteRatio(double baseRatio) {
  if (!std::isfinite(baseRatio)) {
    throw EDatabaseError("比值超出范围(无穷大或不是数字),不能保存。");
  }
}

// --- Opening ---------------------------------------------------------------------

[[noreturn]] void RaiseBadFile(const fs::path& path, const std::string& detail) {
  throw EDatabaseError("数据文件已损坏或不是本软件的数据文件: " + path.string() + " (" + detail +
                       ")");
}

[[noreturn]] void RaiseFileError(sqlite3* db, int rc, const fs::path& path) {
  if (IsBusy(rc)) RaiseSqlite(db, rc, path.string());
  RaiseBadFile(path, db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

// Looks at the file before SQLite does, so that a file that is not a rollback-journal
// SQLite database is refused without SQLite creating anything beside it.
void CheckFile(const fs::path& path) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) throw EDatabaseError("找不到数据文件: " + path.string());
  if (!fs::is_regular_file(status)) {
    throw EDatabaseError("数据文件不是普通文件: " + path.string());
  }
  char header[100] = {};
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EDatabaseError("无法读取数据文件: " + path.string());
  in.read(header, sizeof header);
  if (in.gcount() != static_cast<std::streamsize>(sizeof header) ||
      std::memcmp(header, "SQLite format 3", 16) != 0) {
    RaiseBadFile(path, "文件头不对");
  }
  // Bytes 18 and 19 are 1 for a rollback journal, 2 for a write-ahead log.
  if (header[18] != 1 || header[19] != 1) RaiseBadFile(path, "日志模式不对");
}

// Steps a check statement once; any failure is blamed on the file.
bool Probe(sqlite3* db, const char* sql, const fs::path& path, std::string* firstText) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(st);
    RaiseFileError(db, rc, path);
  }
  rc = sqlite3_step(st);
  bool row = rc == SQLITE_ROW;
  if (row && firstText != nullptr) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    *firstText = text != nullptr ? text : "";
  }
  sqlite3_finalize(st);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) RaiseFileError(db, rc, path);
  return row;
}

void Attach(sqlite3* db, const fs::path& path, const char* schema) {
  std::string sql = std::string("ATTACH DATABASE ?1 AS ") + schema;
  std::string uri = FileUri(path, "rw");  // mode=rw: a vanished file is not recreated
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_bind_text(st, 1, uri.c_str(), -1, SQLITE_TRANSIENT);
  }
  if (rc == SQLITE_OK) rc = sqlite3_step(st);
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE && rc != SQLITE_OK) RaiseFileError(db, rc, path);
}

sqlite3* OpenStore(const fs::path& dir) {
  const fs::path lb = dir / kLbFile, dw = dir / kDwFile, idx = dir / kIdxFile;
  for (const fs::path& path : {lb, dw, idx}) CheckFile(path);

  struct Guard {
    sqlite3* db = nullptr;
    ~Guard() { sqlite3_close(db); }
  } guard;
  int rc = sqlite3_open_v2(FileUri(lb, "rw").c_str(), &guard.db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr);
  if (rc != SQLITE_OK) RaiseFileError(guard.db, rc, lb);
  sqlite3* db = guard.db;
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_handler(db, RetryWhileBusy, nullptr);

  // ATTACH reads every schema not read yet, so Lb.dat's is read first: a damaged
  // Lb.dat must not be blamed on the file being attached.
  Probe(db, "SELECT count(*) FROM main.sqlite_master", lb, nullptr);
  Attach(db, dw, "dw");
  Attach(db, idx, "idx");

  // The manifest first: an unknown format says nothing about the tables' layout.
  std::string format;
  const std::string manifestSql =
      std::string("SELECT value FROM idx.manifest WHERE key = '") + kFormatKey + "'";
  if (!Probe(db, manifestSql.c_str(), idx, &format)) RaiseBadFile(idx, "没有格式版本");
  if (format != std::to_string(kStoreFormatVersion)) {
    throw EDatabaseError("数据文件的格式版本 \"" + format + "\" 不受本程序支持(本程序使用版本 " +
                         std::to_string(kStoreFormatVersion) + "): " + idx.string());
  }
  Probe(db, "SELECT LBID, LBMC, DW1, DW2 FROM main.LB LIMIT 0", lb, nullptr);
  Probe(db, "SELECT DWID, DWMC, SSLBID, JBBZ, Jbdw, DYJLDWID FROM dw.DW LIMIT 0", dw, nullptr);

  guard.db = nullptr;
  return db;
}

}  // namespace

struct TDMMain::Statements {
  std::unordered_map<const char*, sqlite3_stmt*> bySql;
  ~Statements() {
    for (auto& entry : bySql) sqlite3_finalize(entry.second);
  }
};

TDMMain::TDMMain(const std::string& dataDir)
    : db_(OpenStore(fs::path(dataDir))), statements_(std::make_unique<Statements>()) {}

TDMMain::~TDMMain() {
  statements_.reset();
  sqlite3_close(db_);
}

sqlite3_stmt* TDMMain::Statement(const char* sql) {
  sqlite3_stmt*& st = statements_->bySql[sql];
  if (st == nullptr) {
    int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(st);
      st = nullptr;
      RaiseSqlite(db_, rc, kOperationFailed);
    }
  }
  return st;
}

void TDMMain::InTransaction(const std::function<void()>& steps) {
  int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) RaiseSqlite(db_, rc, kOperationFailed);
  try {
    steps();
    rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) RaiseSqlite(db_, rc, kOperationFailed);
  } catch (...) {
    if (!sqlite3_get_autocommit(db_)) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    throw;
  }
}

std::vector<CategoryItem> TDMMain::Categories() {
  Query q(db_, Statement(kCategories));
  std::vector<CategoryItem> items;
  while (q.Next()) items.push_back({q.Id(0), q.Text(1)});
  return items;
}

std::vector<UnitItem> TDMMain::Units(int categoryId) {
  Query q(db_, Statement(kUnits));
  q.Bind(1, categoryId);
  std::vector<UnitItem> items;
  while (q.Next()) items.push_back({q.Id(0), q.Text(1), q.RatioText(2)});
  return items;
}

std::optional<UnitPairNames> TDMMain::UnitPair(int categoryId) {
  Query q(db_, Statement(kUnitPair));
  q.Bind(1, categoryId);
  if (!q.Next()) return std::nullopt;
  return UnitPairNames{q.Text(0), q.Text(1)};
}

void TDMMain::SaveUnitPair(int categoryId, const std::string& fromName, const std::string& toName) {
  Query q(db_, Statement(kSaveUnitPair));
  q.Bind(1, categoryId).Bind(2, fromName).Bind(3, toName).Run();
}

std::vector<UnitSearchHit> TDMMain::SearchUnits(const std::string& pattern) {
  Query q(db_, Statement(kSearchUnits));
  q.Bind(1, pattern);
  std::vector<UnitSearchHit> hits;
  while (q.Next()) hits.push_back({q.Text(0), q.Id(1), q.Text(2)});
  return hits;
}

std::vector<std::string> TDMMain::SearchCategories(const std::string& pattern) {
  Query q(db_, Statement(kSearchCategories));
  q.Bind(1, pattern);
  std::vector<std::string> names;
  while (q.Next()) names.push_back(q.Text(0));
  return names;
}

std::optional<std::string> TDMMain::DataVersion() {
  Query q(db_, Statement(kDataVersion));
  if (!q.Next()) return std::nullopt;
  return q.Text(0);
}

std::vector<CategoryGridRow> TDMMain::CategoryGrid() {
  Query q(db_, Statement(kCategoryGrid));
  std::vector<CategoryGridRow> rows;
  while (q.Next()) rows.push_back({q.Id(0), q.Text(1), q.Id(2), q.Text(3)});
  return rows;
}

bool TDMMain::CategoryExists(const std::string& name) {
  Query q(db_, Statement(kCategoryByName));
  return q.Bind(1, name).Next();
}

int TDMMain::AddCategory(const std::string& name, const std::string& baseUnitName) {
  int categoryId = 0;
  InTransaction([&] {
    // The new rows are known by their ids, never looked up by name: names need not be
    // unique once categories have been renamed.
    Query(db_, Statement(kInsertCategory)).Bind(1, name).Run();
    categoryId = ToId(sqlite3_last_insert_rowid(db_));
    Query(db_, Statement(kInsertBaseUnit)).Bind(1, baseUnitName).Bind(2, categoryId).Run();
    int baseUnitId = ToId(sqlite3_last_insert_rowid(db_));
    Query(db_, Statement(kReferToSelf)).Bind(1, baseUnitId).Run();
  });
  return categoryId;
}

void TDMMain::RenameCategory(int categoryId, const std::string& name, int baseUnitId,
                             const std::string& baseUnitName) {
  InTransaction([&] {
    Query(db_, Statement(kRenameCategory)).Bind(1, categoryId).Bind(2, name).Run();
    Query(db_, Statement(kRenameUnit)).Bind(1, baseUnitId).Bind(2, baseUnitName).Run();
  });
}

bool TDMMain::CategoryHasOtherUnits(int categoryId) {
  Query q(db_, Statement(kOtherUnits));
  return q.Bind(1, categoryId).Next();
}

bool TDMMain::DeleteCategory(int categoryId) {
  bool deleted = false;
  InTransaction([&] {
    if (CategoryHasOtherUnits(categoryId)) return;
    Query(db_, Statement(kDeleteCategoryUnits)).Bind(1, categoryId).Run();
    Query(db_, Statement(kDeleteCategory)).Bind(1, categoryId).Run();
    deleted = true;
  });
  return deleted;
}

std::vector<UnitDefinition> TDMMain::NonBaseUnits(int categoryId) {
  Query q(db_, Statement(kNonBaseUnits));
  q.Bind(1, categoryId);
  std::vector<UnitDefinition> items;
  while (q.Next()) items.push_back({q.Id(0), q.Text(1), q.RatioText(2), q.Text(3)});
  return items;
}

std::vector<UnitItem> TDMMain::ReferenceCandidates(int categoryId,
                                                   std::optional<int> exceptUnitId) {
  Query q(db_, Statement(kReferenceCandidates));
  q.Bind(1, categoryId).Bind(2, exceptUnitId);
  std::vector<UnitItem> items;
  while (q.Next()) items.push_back({q.Id(0), q.Text(1), q.RatioText(2)});
  return items;
}

std::optional<int> TDMMain::BaseUnitId(int categoryId) {
  Query q(db_, Statement(kBaseUnitId));
  if (!q.Bind(1, categoryId).Next()) return std::nullopt;
  return q.Id(0);
}

bool TDMMain::UnitNameTaken(const std::string& name, int categoryId,
                            std::optional<int> exceptUnitId) {
  Query q(db_, Statement(kUnitNameTaken));
  return q.Bind(1, name).Bind(2, categoryId).Bind(3, exceptUnitId).Next();
}

bool TDMMain::IsUnitOf(int categoryId, int unitId) {
  return Query(db_, Statement(kUnitInCategory)).Bind(1, unitId).Bind(2, categoryId).Next();
}

int TDMMain::AddUnit(const std::string& name, int categoryId, double baseRatio, int refUnitId) {
  RequireFiniteRatio(baseRatio);
  int unitId = 0;
  InTransaction([&] {
    if (!Query(db_, Statement(kCategoryById)).Bind(1, categoryId).Next()) {
      throw EDatabaseError("单位类别不存在(编号 " + std::to_string(categoryId) +
                           "),不能增加单位。");
    }
    if (!IsUnitOf(categoryId, refUnitId)) {
      throw EDatabaseError("对应的单位(编号 " + std::to_string(refUnitId) +
                           ")不属于这个类别,不能增加单位。");
    }
    Query(db_, Statement(kInsertUnit))
        .Bind(1, name)
        .Bind(2, categoryId)
        .Bind(3, baseRatio)
        .Bind(4, refUnitId)
        .Run();
    unitId = ToId(sqlite3_last_insert_rowid(db_));
  });
  return unitId;
}

void TDMMain::ModifyUnit(int unitId, const std::string& name, int categoryId, double baseRatio,
                         int refUnitId) {
  RequireFiniteRatio(baseRatio);
  InTransaction([&] {
    {
      Query unit(db_, Statement(kUnitInCategory));
      if (!unit.Bind(1, unitId).Bind(2, categoryId).Next()) {
        throw EDatabaseError("要修改的单位(编号 " + std::to_string(unitId) + ")不在这个类别中。");
      }
      // The base unit's ratio is 1 by definition; only its name changes, elsewhere.
      if (unit.IsNull(0) || unit.Flag(0)) {
        throw EDatabaseError("基本单位不能在这里修改。");
      }
    }
    if (refUnitId == unitId || !IsUnitOf(categoryId, refUnitId)) {
      throw EDatabaseError("对应的单位(编号 " + std::to_string(refUnitId) +
                           ")不是这个类别中的另一个单位,不能保存。");
    }
    Query(db_, Statement(kModifyUnit))
        .Bind(1, unitId)
        .Bind(2, name)
        .Bind(3, baseRatio)
        .Bind(4, refUnitId)
        .Bind(5, categoryId)
        .Run();
  });
}

void TDMMain::DeleteUnit(int categoryId, int unitId) {
  InTransaction([&] {
    {
      Query unit(db_, Statement(kUnitInCategory));
      if (unit.Bind(1, unitId).Bind(2, categoryId).Next() && unit.Flag(0)) {
        throw EDatabaseError("基本单位不能单独删除,请删除它所属的类别。");
      }
    }
    Query(db_, Statement(kDeleteUnit)).Bind(1, categoryId).Bind(2, unitId).Run();
    std::optional<int> baseUnitId = BaseUnitId(categoryId);
    if (!baseUnitId) {
      throw EDatabaseError("单位类别(编号 " + std::to_string(categoryId) + ")没有基本单位。");
    }
    Query(db_, Statement(kRepoint)).Bind(1, categoryId).Bind(2, unitId).Bind(3, *baseUnitId).Run();
  });
}

}  // namespace vantrel
