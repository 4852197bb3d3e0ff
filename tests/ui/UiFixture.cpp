#include "tests/ui/UiFixture.h"

#include <sqlite3.h>

#include <QDir>

#include "app/Paths.h"
#include "app/UntException.h"
#include "catalogue/Store.h"

namespace vantrel::testing {

void UiFixture::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("data")));
  CreateStore(dataDir(), std::string("2010-12-09"));
  dm_ = std::make_unique<TDMMain>(dataDir());
  SetExecutableDirForTesting(programDir());
  ExceptionHandler().SetShowForTesting(
      [this](const QString&, const QString& text) { boxes << text; });
}

void UiFixture::TearDown() {
  dm_.reset();
  ExceptionHandler().SetShowForTesting(nullptr);
  SetExecutableDirForTesting(std::string());
}

std::string UiFixture::programDir() const {
  return dir_.path().toStdString() + "/";
}
std::string UiFixture::dataDir() const {
  return programDir() + "data/";
}

int UiFixture::AddCategory(const std::string& name, const std::string& baseUnit) {
  return dm_->AddCategory(name, baseUnit);
}

int UiFixture::AddUnit(int categoryId, const std::string& name, double baseRatio) {
  return dm_->AddUnit(name, categoryId, baseRatio, *dm_->BaseUnitId(categoryId));
}

void UiFixture::RemoveAllUnits(int categoryId) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dataDir() + "Dw.dat").c_str(), &db), SQLITE_OK);
  sqlite3_stmt* statement = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "DELETE FROM DW WHERE SSLBID = ?1", -1, &statement, nullptr),
            SQLITE_OK);
  sqlite3_bind_int(statement, 1, categoryId);
  EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE);
  sqlite3_finalize(statement);
  sqlite3_close(db);
}

}  // namespace vantrel::testing
