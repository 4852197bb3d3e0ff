// From a key press in the unit search's edit box to the redrawn result list, offscreen,
// on a catalogue of 100 categories with 1,000 units each.
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "catalogue/UntDM.h"
#include "ui/UntDwJs.h"

namespace {

constexpr int kCategories = 100;
constexpr int kUnitsPerCategory = 1000;

const char* const kRoots[] = {"米",   "克",   "平方米", "立方米", "秒",
                              "焦耳", "瓦特", "帕斯卡", "米每秒", "牛顿"};

struct Setup {
  vantrel::bench::BenchProgram program;
  std::unique_ptr<vantrel::TDMMain> dm;

  // Unit names are a root and a six-digit serial ("米000123"), so a few typed digits
  // pick out a handful of units and a wildcard all of them.
  Setup() {
    vantrel::bench::FillCatalogue(
        program.dataDir, kCategories, kUnitsPerCategory,
        [](int c) { return "类别" + std::to_string(c); },
        [](int c, int u) {
          char serial[16];
          std::snprintf(serial, sizeof serial, "%06d", c * kUnitsPerCategory + u);
          return vantrel::bench::BenchUnit{kRoots[c % 10] + std::string(serial), 1.0 + u};
        });
    dm = std::make_unique<vantrel::TDMMain>(program.dataDir);
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
  return vantrel::bench::RunQtBenchmarks(argc, argv, setup);
}
