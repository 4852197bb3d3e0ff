// From a key press in the input field to the converted value in the result field,
// offscreen, on a category of realistic size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "catalogue/UntDM.h"
#include "ui/UntMain.h"

namespace {

constexpr int kUnits = 60;

struct Setup {
  vantrel::bench::BenchProgram program;
  std::unique_ptr<vantrel::TDMMain> dm;
  std::unique_ptr<vantrel::TFrmMain> window;
  QLineEdit* input = nullptr;
  QLineEdit* result = nullptr;

  Setup() {
    dm = std::make_unique<vantrel::TDMMain>(program.dataDir);
    const int length = dm->AddCategory("长度", "米");
    const int base = *dm->BaseUnitId(length);
    for (int i = 1; i < kUnits; ++i)
      dm->AddUnit("单位" + std::to_string(i), length, 1.0 / (i + 0.5), base);
    dm->SaveUnitPair(length, "单位17", "单位42");
    window = std::make_unique<vantrel::TFrmMain>(*dm);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) std::fputs("window not exposed\n", stderr);
    input = window->findChild<QLineEdit*>(QStringLiteral("FlatEdit1"));
    result = window->findChild<QLineEdit*>(QStringLiteral("FlatEdit2"));
  }
};

Setup* setup = nullptr;

// Each iteration is one key press: a digit, then the Backspace that takes it away
// again, so the input stays a realistic few characters long.
void BM_KeyPressToResult(benchmark::State& state) {
  setup->input->setText(QStringLiteral("1234.5"));
  bool digit = true;
  for (auto _ : state) {
    if (digit)
      QTest::keyClick(setup->input, Qt::Key_7);
    else
      QTest::keyClick(setup->input, Qt::Key_Backspace);
    digit = !digit;
    benchmark::DoNotOptimize(setup->result->text().size());
  }
  if (setup->result->text().isEmpty()) state.SkipWithError("no result was shown");
}
BENCHMARK(BM_KeyPressToResult)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return vantrel::bench::RunQtBenchmarks(argc, argv, setup);
}
