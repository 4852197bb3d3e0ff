// Start-up to the main window shown, against a bare Qt window with one widget, both
// launched as processes on the offscreen platform; each says "shown" on standard error
// once its window is up, then ends. The ratio of the two is the figure that counts.
//
// The bare window is this benchmark's own executable started with --bare-window, so
// both programs load the same libraries.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/Settings.h"

namespace {

int BareWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel(QStringLiteral("Vantrel")));
  window.show();
  QTimer::singleShot(0, &window, [&window] {
    std::fputs("shown\n", stderr);
    std::fflush(stderr);
    window.close();
  });
  return QApplication::exec();
}

QString Self() {
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

// The built program (VANTREL_PROGRAM overrides), copied with its data into a folder of
// its own that already holds today's date, so that no splash window is due.
struct ProgramFolder {
  QTemporaryDir dir;
  QString program;
  QString error;

  ProgramFolder() {
    QString built = qEnvironmentVariable("VANTREL_PROGRAM");
    if (built.isEmpty())
      built = QFileInfo(Self()).absolutePath() + QStringLiteral("/../Vantrel/Vantrel");
    const QString data = QFileInfo(built).absolutePath() + QStringLiteral("/data/");
    program = dir.filePath(QStringLiteral("Vantrel"));
    if (!QFile::copy(built, program)) {
      error = "no program at " + built;
      return;
    }
    QDir(dir.path()).mkdir(QStringLiteral("data"));
    for (const char* name : {"Dw.dat", "Lb.idx", "Lb.dat"}) {
      if (!QFile::copy(data + name, dir.filePath(QStringLiteral("data/") + name))) {
        error = "no catalogue in " + data;
        return;
      }
    }
    vantrel::IniFile(dir.filePath(QStringLiteral("syscfg.ini")))
        .WriteDate(QStringLiteral("Last"), QStringLiteral("LoadDate"), QDate::currentDate());
  }
};

// Wall time from launch until the program reports its window shown, in seconds;
// negative when it failed. Shutdown (storing the last selections) is not start-up.
double Launch(const QString& program, const QStringList& args) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("VANTREL_TEST_AUTOCLOSE"), QStringLiteral("1"));
  process.setProcessEnvironment(env);
  process.setReadChannel(QProcess::StandardError);
  QElapsedTimer clock;
  clock.start();
  process.start(program, args);
  double shown = -1;
  QByteArray output;
  while (shown < 0 && process.waitForReadyRead(30000)) {
    output += process.readAllStandardError();
    if (output.contains("shown\n")) shown = clock.nsecsElapsed() / 1e9;
  }
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0)
    return -1;
  return shown;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_StartupAgainstBareQtWindow(benchmark::State& state) {
  static ProgramFolder folder;
  if (!folder.error.isEmpty()) {
    state.SkipWithError(folder.error.toUtf8().constData());
    return;
  }
  std::vector<double> vantrel, bare;
  for (auto _ : state) {
    const double v = Launch(folder.program, {});
    const double b = Launch(Self(), {QStringLiteral("--bare-window")});
    if (v < 0 || b < 0) {
      state.SkipWithError("a program did not start and end cleanly");
      return;
    }
    vantrel.push_back(v);
    bare.push_back(b);
    state.SetIterationTime(v);
  }
  // Medians: one slow launch (another process taking the processor) moves nothing.
  const double v = Median(vantrel), b = Median(bare);
  state.counters["vantrel_ms"] = v * 1e3;
  state.counters["bare_qt_ms"] = b * 1e3;
  state.counters["ratio"] = v / b;
}
BENCHMARK(BM_StartupAgainstBareQtWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--bare-window") == 0) return BareWindow(argc, argv);
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
