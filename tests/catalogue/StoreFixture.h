// A fresh store in a temporary folder, plus a plain SQLite connection of the test's own
// for looking at (and tampering with) the files behind the data module's back.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

#include "catalogue/Store.h"
#include "catalogue/UntDM.h"

namespace vantrel::testing {

namespace fs = std::filesystem;

class RawDb {
 public:
  explicit RawDb(const fs::path& file) {
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << "cannot open " << file << ": " << sqlite3_errmsg(db_);
    }
  }
  ~RawDb() { sqlite3_close(db_); }
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;

  void Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << (message != nullptr ? message : "?");
    }
    sqlite3_free(message);
  }
  // Every row of the query, columns joined by "|", rows by "\n"; NULL shows as "<null>".
  std::string Dump(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
      return out;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        out += (i > 0 ? "|" : "") + std::string(text != nullptr ? text : "<null>");
      }
      out += "\n";
    }
    sqlite3_finalize(st);
    return out;
  }

 private:
  sqlite3* db_ = nullptr;
};

// A temporary folder whose name holds a blank, "?", "#" and "%", so every test also
// shows that such paths reach SQLite intact.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "vantrel-cat ?#%-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

inline std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Every entry of a folder with the bytes of its regular files.
inline std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::directory_iterator(dir)) {
    entries[entry.path().filename().string()] =
        entry.is_regular_file() ? ReadBytes(entry.path()) : std::string("<dir>");
  }
  return entries;
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = dir_.path() / "data";
    fs::create_directory(data_);
    CreateStore(data_.string(), std::string("2010-12-09"));
    dm_.emplace(data_.string());
  }

  fs::path Lb() const { return data_ / "Lb.dat"; }
  fs::path Dw() const { return data_ / "Dw.dat"; }
  fs::path Idx() const { return data_ / "Lb.idx"; }

  // Both tables as text, for "nothing changed" checks.
  std::string Tables() {
    RawDb lb(Lb()), dw(Dw());
    return lb.Dump("SELECT * FROM LB ORDER BY LBID") + "--\n" +
           dw.Dump("SELECT * FROM DW ORDER BY DWID");
  }

  TempDir dir_;
  fs::path data_;
  std::optional<TDMMain> dm_;
};

}  // namespace vantrel::testing
