#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLocale>

#include "conversion/NumberText.h"

namespace vantrel {
namespace {

TEST(Application, LocaleChangeResetsTheDecimalSeparator) {
  SetDecimalSeparator(",;");
  QEvent change(QEvent::LocaleChange);
  QCoreApplication::sendEvent(QCoreApplication::instance(), &change);
  EXPECT_EQ(DecimalSeparator(), QLocale::system().decimalPoint().toStdString());
}

}  // namespace
}  // namespace vantrel
