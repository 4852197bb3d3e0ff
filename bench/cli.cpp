// vantrel-cli converting one million values from standard input, timed from start to
// exit as a whole process (reading, converting, writing), output to /dev/null.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kValues = 1000000;

// The input file is made once per run and removed at exit.
struct InputPath {
  std::string path;
  ~InputPath() {
    if (!path.empty()) std::remove(path.c_str());
  }
} inputPath;

// A mix of the shapes people type: integers, decimals, exponents, negatives, and a few
// values that are not numbers.
const std::string& InputFile() {
  if (inputPath.path.empty()) {
    std::string pattern = (fs::temp_directory_path() / "vantrel-bench-cli-XXXXXX").string();
    int fd = mkstemp(pattern.data());
    if (fd < 0) std::abort();
    close(fd);
    std::ofstream out(pattern, std::ios::binary);
    char line[64];
    for (int i = 0; i < kValues; ++i) {
      switch (i % 8) {
        case 0:
          std::snprintf(line, sizeof line, "%d\n", i);
          break;
        case 1:
          std::snprintf(line, sizeof line, "%d.%03d\n", i / 7, i % 1000);
          break;
        case 2:
          std::snprintf(line, sizeof line, "-%d.5\n", i % 10000);
          break;
        case 3:
          std::snprintf(line, sizeof line, "%de%d\n", i % 97, i % 30 - 15);
          break;
        case 4:
          std::snprintf(line, sizeof line, "0.000%d\n", i % 9973);
          break;
        case 5:
          std::snprintf(line, sizeof line, "%.15g\n", i * 1.0000001);
          break;
        case 6:
          std::snprintf(line, sizeof line, "  %d  \n", i % 123);
          break;
        default:
          std::snprintf(line, sizeof line, "%s\n", i % 64 == 7 ? "abc" : "42");
          break;
      }
      out << line;
    }
    inputPath.path = pattern;
  }
  return inputPath.path;
}

// Runs the converter once; returns false when it did not exit with status 0.
bool RunOnce(const char* from, const char* to) {
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(InputFile().c_str(), O_RDONLY);
    int out = open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    execl(VANTREL_CLI_PATH, VANTREL_CLI_PATH, "convert", from, to, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

void BM_CliConvertMillionValues(benchmark::State& state, const char* from, const char* to) {
  InputFile();
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    if (!RunOnce(from, to)) {
      state.SkipWithError("vantrel-cli failed");
      break;
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}

BENCHMARK_CAPTURE(BM_CliConvertMillionValues, km_to_m, "千米", "米")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_CliConvertMillionValues, mu_to_square_chi, "亩", "平方市尺")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
