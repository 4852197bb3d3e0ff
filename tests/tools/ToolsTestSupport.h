// Temporary folders, GBK sizes and running the tools as child processes.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::testing {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "vantrel-tools-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const fs::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  fs::path path_;
};

inline std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// Bytes the text takes in GBK; nullopt when GBK cannot hold it.
inline std::optional<std::size_t> GbkSize(const std::string& utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  std::string in = utf8;
  std::string out(in.size() * 2 + 8, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok || inLeft != 0) return std::nullopt;
  return out.size() - outLeft;
}

struct ProcessResult {
  int status = -1;  // exit status, or -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// Runs program with args, stdin fed from input, in workDir when given.
inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::string& input = "", const std::string& workDir = "") {
  TempDir io;
  const fs::path in = io.path() / "in", out = io.path() / "out", err = io.path() / "err";
  WriteFile(in, input);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  pid_t pid = fork();
  if (pid == 0) {
    int fdIn = open(in.c_str(), O_RDONLY);
    int fdOut = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int fdErr = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fdIn < 0 || fdOut < 0 || fdErr < 0) _exit(126);
    dup2(fdIn, 0);
    dup2(fdOut, 1);
    dup2(fdErr, 2);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  ProcessResult result;
  int wstatus = 0;
  if (pid < 0 || waitpid(pid, &wstatus, 0) != pid) {
    ADD_FAILURE() << "cannot run " << program;
    return result;
  }
  if (WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  return result;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace vantrel::testing
