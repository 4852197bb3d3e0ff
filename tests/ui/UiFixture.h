// A program folder of its own for every window test: a fresh catalogue in data/,
// syscfg.ini and Error.log beside it, and the error boxes captured instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <ostream>
#include <string>

#include "catalogue/UntDM.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << text.toStdString();
}

namespace vantrel::testing {

class UiFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TDMMain& dm() { return *dm_; }
  std::string programDir() const;  // ends in "/"
  std::string dataDir() const;

  int AddCategory(const std::string& name, const std::string& baseUnit);
  int AddUnit(int categoryId, const std::string& name, double baseRatio);
  // Leaves a category without any unit, which the maintenance windows never do.
  void RemoveAllUnits(int categoryId);

  // The texts of the error boxes shown so far, in order.
  QStringList boxes;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<TDMMain> dm_;
};

}  // namespace vantrel::testing
