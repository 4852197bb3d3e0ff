// Opening and creating the store files, whole-or-nothing operations, and locks held by
// another connection.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "conversion/Errors.h"
#include "tests/catalogue/StoreFixture.h"

namespace vantrel::testing {
namespace {

void MakeSqliteFile(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

std::string Garbage(size_t size) {
  std::string bytes(size, '\0');
  unsigned state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 16);
  }
  return bytes;
}

class OpenTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    dm_->AddCategory("长度", "米");
    dm_.reset();
  }
};

TEST_F(OpenTest, BadFilesAreReportedByNameAndLeftUntouched) {
  struct Case {
    const char* what;
    const char* file;  // the file the message must name
    std::function<void(const fs::path& data)> spoil;
  };
  const Case cases[] = {
      {"Lb.dat missing", "Lb.dat", [](const fs::path& d) { fs::remove(d / "Lb.dat"); }},
      {"Dw.dat missing", "Dw.dat", [](const fs::path& d) { fs::remove(d / "Dw.dat"); }},
      {"Lb.idx missing", "Lb.idx", [](const fs::path& d) { fs::remove(d / "Lb.idx"); }},
      {"Dw.dat a folder", "Dw.dat",
       [](const fs::path& d) {
         fs::remove(d / "Dw.dat");
         fs::create_directory(d / "Dw.dat");
       }},
      {"Lb.dat garbage", "Lb.dat",
       [](const fs::path& d) { WriteBytes(d / "Lb.dat", Garbage(8192)); }},
      {"Dw.dat garbage", "Dw.dat",
       [](const fs::path& d) { WriteBytes(d / "Dw.dat", Garbage(8192)); }},
      {"Lb.idx garbage", "Lb.idx",
       [](const fs::path& d) { WriteBytes(d / "Lb.idx", Garbage(100)); }},
      {"Lb.idx empty", "Lb.idx", [](const fs::path& d) { WriteBytes(d / "Lb.idx", ""); }},
      {"Lb.dat damaged after its header", "Lb.dat",
       [](const fs::path& d) {
         std::string bytes = ReadBytes(d / "Lb.dat");
         WriteBytes(d / "Lb.dat", bytes.substr(0, 100) + Garbage(bytes.size() - 100));
       }},
      {"Dw.dat damaged after its header", "Dw.dat",
       [](const fs::path& d) {
         std::string bytes = ReadBytes(d / "Dw.dat");
         WriteBytes(d / "Dw.dat", bytes.substr(0, 100) + Garbage(bytes.size() - 100));
       }},
      {"Lb.dat a foreign database", "Lb.dat",
       [](const fs::path& d) {
         fs::remove(d / "Lb.dat");
         MakeSqliteFile(d / "Lb.dat", "CREATE TABLE customers (id INTEGER, name TEXT);");
       }},
      {"Lb.dat and Dw.dat swapped", "Lb.dat",
       [](const fs::path& d) {
         fs::rename(d / "Lb.dat", d / "tmp");
         fs::rename(d / "Dw.dat", d / "Lb.dat");
         fs::rename(d / "tmp", d / "Dw.dat");
       }},
      {"Lb.idx without a manifest", "Lb.idx",
       [](const fs::path& d) {
         fs::remove(d / "Lb.idx");
         MakeSqliteFile(d / "Lb.idx", "CREATE TABLE other (x);");
       }},
      {"Lb.idx without a format", "Lb.idx",
       [](const fs::path& d) { RawDb(d / "Lb.idx").Exec("DELETE FROM manifest"); }},
      {"Lb.idx of an unknown format", "Lb.idx",
       [](const fs::path& d) { RawDb(d / "Lb.idx").Exec("UPDATE manifest SET value = '2'"); }},
      {"Dw.dat in write-ahead-log mode", "Dw.dat",
       [](const fs::path& d) { RawDb(d / "Dw.dat").Exec("PRAGMA journal_mode = WAL"); }},
  };
  const std::string pristine = data_.string() + " pristine";
  fs::copy(data_, pristine);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(data_);
    fs::copy(pristine, data_);
    c.spoil(data_);
    const auto before = Snapshot(data_);
    try {
      TDMMain dm(data_.string());
      ADD_FAILURE() << "opened";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(e.message().find(c.file), std::string::npos) << e.message();
    }
    EXPECT_EQ(Snapshot(data_), before);
  }
  fs::remove_all(pristine);
}

TEST_F(OpenTest, UnknownFormatVersionIsNamedInTheMessage) {
  RawDb(Idx()).Exec("UPDATE manifest SET value = '7'");
  try {
    TDMMain dm(data_.string());
    ADD_FAILURE() << "opened";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.message().find("\"7\""), std::string::npos) << e.message();
  }
}

TEST_F(OpenTest, CreatingNeverOverwritesAStore) {
  const auto before = Snapshot(data_);
  EXPECT_THROW(CreateStore(data_.string(), std::nullopt), EDatabaseError);
  EXPECT_EQ(Snapshot(data_), before);

  fs::remove(Idx());
  EXPECT_THROW(CreateStore(data_.string(), std::nullopt), EDatabaseError);
  EXPECT_FALSE(fs::exists(Idx()));

  EXPECT_THROW(CreateStore((data_ / "no such folder").string(), std::nullopt), EDatabaseError);
  EXPECT_FALSE(fs::exists(data_ / "no such folder"));
}

// Each case makes one later statement of a multi-statement operation fail through a
// trigger the test adds to the files; the operation must leave no trace.
TEST_F(StoreTest, AFailureInsideAnOperationLeavesNothingHalfDone) {
  int length = dm_->AddCategory("长度", "米");
  int metre = *dm_->BaseUnitId(length);
  int km = dm_->AddUnit("千米", length, 1000, metre);
  dm_->AddUnit("英里", length, 1609.344, km);
  int empty = dm_->AddCategory("空类别", "个");

  struct Case {
    const char* what;
    fs::path file;
    std::string trigger;  // BEFORE <event> ON <table>
    std::function<void()> operation;
  };
  const Case cases[] = {
      {"adding a category, at its base unit", Dw(), "INSERT ON DW",
       [&] { dm_->AddCategory("质量", "千克"); }},
      {"adding a category, at the base unit's self reference", Dw(), "UPDATE ON DW",
       [&] { dm_->AddCategory("质量", "千克"); }},
      {"renaming a category, at its base unit", Dw(), "UPDATE ON DW",
       [&] { dm_->RenameCategory(length, "长度2", metre, "公尺"); }},
      {"deleting a category, at its own row", Lb(), "DELETE ON LB",
       [&] { dm_->DeleteCategory(empty); }},
      {"deleting a unit, at re-pointing its dependants", Dw(), "UPDATE ON DW",
       [&] { dm_->DeleteUnit(length, km); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string before = Tables();
    RawDb(c.file).Exec("CREATE TRIGGER injected BEFORE " + c.trigger +
                       " BEGIN SELECT RAISE(ABORT, 'injected failure'); END");
    try {
      c.operation();
      ADD_FAILURE() << "did not fail";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(e.message().find("injected failure"), std::string::npos) << e.message();
    }
    RawDb(c.file).Exec("DROP TRIGGER injected");
    EXPECT_EQ(Tables(), before);
    EXPECT_EQ(Snapshot(data_).size(), 3u);  // no journal left behind
  }
  // The connection is usable again: each operation now goes through whole.
  for (const Case& c : cases) c.operation();
  EXPECT_FALSE(dm_->UnitPair(empty));
  EXPECT_EQ(dm_->Units(length)[0].name, "公尺");
  ASSERT_EQ(dm_->NonBaseUnits(length).size(), 1u);
  EXPECT_EQ(dm_->NonBaseUnits(length)[0].refIdText, std::to_string(metre));
  EXPECT_EQ(dm_->SearchCategories("质量").size(), 2u);
}

TEST_F(StoreTest, LockHeldElsewhereIsRetriedThenReported) {
  RawDb other(Lb());
  other.Exec("BEGIN EXCLUSIVE");
  const auto start = std::chrono::steady_clock::now();
  try {
    dm_->Categories();
    ADD_FAILURE() << "read through an exclusive lock";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.message().find("15"), std::string::npos) << e.message();
  }
  // Fifteen retries, 100 ms apart.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1400));
  other.Exec("ROLLBACK");
  EXPECT_EQ(dm_->Categories().size(), 0u);
}

TEST_F(StoreTest, LockReleasedWhileRetryingIsWaitedFor) {
  RawDb other(Dw());
  other.Exec("BEGIN EXCLUSIVE");
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other.Exec("COMMIT");
  });
  int id = 0;
  EXPECT_NO_THROW(id = dm_->AddCategory("长度", "米"));
  release.join();
  EXPECT_EQ(dm_->Units(id).size(), 1u);
}

}  // namespace
}  // namespace vantrel::testing
