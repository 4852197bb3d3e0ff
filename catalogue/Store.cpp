#include "catalogue/Store.h"

#include <sqlite3.h>

#include <system_error>
#include <vector>

#include "catalogue/StoreFiles.h"
#include "conversion/Errors.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace store {

std::string FileUri(const fs::path& path, const char* mode) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (unsigned char c : fs::absolute(path).lexically_normal().string()) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri + "?mode=" + mode;
}

bool IsBusy(int rc) {
  int primary = rc & 0xff;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

void RaiseSqlite(sqlite3* db, int rc, const std::string& what) {
  std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  if (IsBusy(rc)) {
    throw EDatabaseError("数据库正被其他程序使用,重试 15 次后仍无法访问,请稍后再试。(" + what +
                         ": " + detail + ")");
  }
  throw EDatabaseError(what + ": " + detail);
}

}  // namespace store

namespace {

using namespace store;

struct Connection {
  sqlite3* db = nullptr;
  ~Connection() { sqlite3_close(db); }
};

// Runs a script of fixed statements.
void Run(sqlite3* db, const char* sql, const std::string& file) {
  char* message = nullptr;
  int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    std::string text = message != nullptr ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw EDatabaseError("无法创建数据文件 " + file + ": " + text);
  }
}

void CreateFile(const fs::path& path, const char* schema,
                const std::optional<std::string>& dataVersion) {
  const std::string file = path.string();
  Connection c;
  int rc = sqlite3_open_v2(FileUri(path, "rwc").c_str(), &c.db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
  if (rc != SQLITE_OK) RaiseSqlite(c.db, rc, "无法创建数据文件 " + file);
  Run(c.db, "PRAGMA encoding = 'UTF-8'; PRAGMA journal_mode = DELETE; BEGIN;", file);
  Run(c.db, schema, file);
  if (dataVersion) {
    sqlite3_stmt* st = nullptr;
    rc = sqlite3_prepare_v2(c.db, "INSERT INTO DW (DWID, DWMC, SSLBID) VALUES (-100, ?1, -100)", -1,
                            &st, nullptr);
    if (rc == SQLITE_OK) {
      rc = sqlite3_bind_text(st, 1, dataVersion->data(), static_cast<int>(dataVersion->size()),
                             SQLITE_TRANSIENT);
    }
    if (rc == SQLITE_OK) rc = sqlite3_step(st) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(c.db);
    sqlite3_finalize(st);
    if (rc != SQLITE_OK) RaiseSqlite(c.db, rc, "无法写入数据版本 " + file);
  }
  Run(c.db, "COMMIT;", file);
}

}  // namespace

void CreateStore(const std::string& dataDir, const std::optional<std::string>& dataVersion) {
  const fs::path dir(dataDir);
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) throw EDatabaseError("数据目录不存在: " + dataDir);
  for (const char* name : {kLbFile, kDwFile, kIdxFile}) {
    if (fs::exists(fs::symlink_status(dir / name, ec))) {
      throw EDatabaseError("数据文件已存在,不会覆盖: " + (dir / name).string());
    }
  }

  // The manifest is written last: a store without it never opens.
  const std::string format = std::to_string(kStoreFormatVersion);
  const std::string manifest =
      "CREATE TABLE manifest (key TEXT PRIMARY KEY, value TEXT);"
      "INSERT INTO manifest (key, value) VALUES ('" +
      std::string(kFormatKey) + "', '" + format + "');";
  struct Step {
    const char* name;
    std::string schema;
    bool holdsVersion;
  };
  const Step steps[] = {
      {kLbFile,
       "CREATE TABLE LB (LBID INTEGER PRIMARY KEY AUTOINCREMENT, LBMC TEXT, DW1 TEXT, DW2 TEXT);",
       false},
      // AUTOINCREMENT keeps new ids above every id ever used, the version row's -100
      // included; plain rowids would hand out -99 next.
      {kDwFile,
       "CREATE TABLE DW (DWID INTEGER PRIMARY KEY AUTOINCREMENT, DWMC TEXT, SSLBID INTEGER,"
       " JBBZ REAL, Jbdw INTEGER, DYJLDWID INTEGER);"
       "CREATE INDEX DW_SSLBID ON DW (SSLBID);",
       true},
      {kIdxFile, manifest, false},
  };

  std::vector<fs::path> created;
  try {
    for (const Step& step : steps) {
      created.push_back(dir / step.name);
      CreateFile(created.back(), step.schema.c_str(),
                 step.holdsVersion ? dataVersion : std::nullopt);
    }
  } catch (...) {
    // Leave the folder as it was, so a second attempt starts clean.
    for (const fs::path& path : created) {
      fs::remove(path, ec);
      fs::remove(path.string() + "-journal", ec);
    }
    throw;
  }
}

}  // namespace vantrel
