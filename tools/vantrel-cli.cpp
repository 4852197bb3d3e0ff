// vantrel-cli: the converter on the command line, on the same catalogue and the same
// conversion rule as the main window, so a result here is the text the window shows.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/UntDM.h"
#include "conversion/ConvertText.h"
#include "conversion/Errors.h"
#include "conversion/NumberText.h"

namespace {

namespace fs = std::filesystem;

constexpr const char kUsage[] =
    "用法：vantrel-cli [--data 目录] 命令 [参数...]\n"
    "\n"
    "命令：\n"
    "  categories                 列出全部分类\n"
    "  units 分类                 列出分类中的单位及其基本比率（以制表符分隔）\n"
    "  search [--begin] 文字      按名称查找单位，列出单位及其分类（以制表符分隔）；\n"
    "                             默认找名称中含有该文字的单位，--begin 只找以它开头的；\n"
    "                             文字中的 % 代表任意多个字符，_ 代表任意一个字符\n"
    "  convert [--category 分类] 源单位 目标单位 [数值...]\n"
    "                             换算每个数值，每个结果一行；不给数值时从标准输入\n"
    "                             每行读一个数值\n"
    "\n"
    "选项：\n"
    "  --data 目录                使用另一份单位数据（默认：程序所在目录下的 data/）\n"
    "  --category 分类            在该分类中查找源单位和目标单位（同名单位出现在\n"
    "                             多个分类中时必须给出）\n"
    "  --begin                    search 只找以该文字开头的单位\n"
    "  --help, -h                 显示本说明\n"
    "\n"
    "数值的写法遵循 C/POSIX 约定：小数点总是“.”，与区域设置无关，结果也这样书写。\n"
    "结果就是主窗口结果栏显示的文字：不是数值的输入得到“含有非法字符!”，\n"
    "空白的输入得到空行。分类和单位名称先按原样匹配，找不到时再不区分 ASCII\n"
    "字母的大小写匹配。文字按 UTF-8 读写。\n"
    "\n"
    "退出状态：\n"
    "  0  全部完成\n"
    "  1  有数值换算出错：该数值输出空行（其余各行仍与输入对齐），错误写到标准错误\n"
    "  2  用法错误、未知或有歧义的分类或单位、无法打开单位数据、读写失败\n";

// Stops the command with a message on stderr and exit status 2.
struct Failure {
  std::string message;
};

// Blocks of output go out in one write each; a failing write is an error, never a
// silently short result.
class Sink {
 public:
  explicit Sink(int fd) : fd_(fd) { buffer_.reserve(kBlock + 4096); }
  void Append(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= kBlock) Flush();
  }
  void Flush() {
    const char* p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
      ssize_t n = ::write(fd_, p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        buffer_.clear();
        throw Failure{std::string("写入失败：") + std::strerror(errno)};
      }
      p += n;
      left -= static_cast<std::size_t>(n);
    }
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;
  int fd_;
  std::string buffer_;
};

Sink out(STDOUT_FILENO);
Sink err(STDERR_FILENO);

std::string Quote(std::string_view s) {
  return "“" + std::string(s) + "”";
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Positions of the items whose name matches: exact matches if there are any,
// otherwise matches without regard to ASCII letter case.
template <typename Item, typename NameOf>
std::vector<std::size_t> Matches(const std::vector<Item>& items, std::string_view name,
                                 NameOf nameOf) {
  std::vector<std::size_t> hits;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (nameOf(items[i]) == name) hits.push_back(i);
  }
  if (!hits.empty()) return hits;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (EqualsIgnoringAsciiCase(nameOf(items[i]), name)) hits.push_back(i);
  }
  return hits;
}

struct Options {
  std::string dataDir;
  std::optional<std::string> category;
  bool begin = false;
  bool help = false;
  std::vector<std::string> args;  // the command word first
};

Options ParseArguments(int argc, char** argv) {
  Options options;
  bool optionsDone = false;
  auto valueOf = [&](int& i, std::string_view arg, std::string_view name) -> std::string {
    if (arg.size() > name.size()) return std::string(arg.substr(name.size() + 1));  // --x=v
    if (i + 1 >= argc) throw Failure{"选项 " + std::string(name) + " 缺少参数"};
    return argv[++i];
  };
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (optionsDone || arg.substr(0, 2) != "--") {
      if (!optionsDone && arg == "-h") {
        options.help = true;
      } else {
        options.args.emplace_back(arg);
      }
      continue;
    }
    auto is = [&](std::string_view name) {
      return arg == name || (arg.substr(0, name.size()) == name && arg.size() > name.size() &&
                             arg[name.size()] == '=');
    };
    if (arg == "--") {
      optionsDone = true;
    } else if (arg == "--help") {
      options.help = true;
    } else if (arg == "--begin") {
      options.begin = true;
    } else if (is("--data")) {
      options.dataDir = valueOf(i, arg, "--data");
    } else if (is("--category")) {
      options.category = valueOf(i, arg, "--category");
    } else {
      throw Failure{"未知选项 " + std::string(arg) + "（用 --help 查看用法）"};
    }
  }
  return options;
}

std::string DefaultDataDir() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) throw Failure{"找不到程序所在的目录：" + ec.message()};
  return (exe.parent_path() / "data").string();
}

class Catalogue {
 public:
  explicit Catalogue(const std::string& dataDir) try : dm_(dataDir) {
    categories_ = dm_.Categories();
  } catch (const vantrel::Error& e) {
    throw Failure{"无法打开单位数据（" + dataDir + "）：" + e.kind() + ": " + e.message()};
  }

  vantrel::TDMMain& dm() { return dm_; }
  const std::vector<vantrel::CategoryItem>& categories() const { return categories_; }

  const vantrel::CategoryItem& FindCategory(std::string_view name) {
    auto hits =
        Matches(categories_, name, [](const auto& c) -> const std::string& { return c.name; });
    if (hits.empty()) throw Failure{"未知分类" + Quote(name)};
    if (hits.size() > 1) throw Failure{"分类名称" + Quote(name) + "有歧义：" + Names(hits)};
    return categories_[hits.front()];
  }

  const std::vector<vantrel::UnitItem>& Units(std::size_t categoryIndex) {
    if (units_.size() != categories_.size()) units_.resize(categories_.size());
    auto& slot = units_[categoryIndex];
    if (!slot) slot = dm_.Units(categories_[categoryIndex].id);
    return *slot;
  }

  std::size_t IndexOf(const vantrel::CategoryItem& category) const {
    return static_cast<std::size_t>(&category - categories_.data());
  }

  std::string Names(const std::vector<std::size_t>& categoryIndexes) const {
    std::string names;
    for (std::size_t i : categoryIndexes) {
      if (!names.empty()) names += "、";
      names += categories_[i].name;
    }
    return names;
  }

 private:
  vantrel::TDMMain dm_;
  std::vector<vantrel::CategoryItem> categories_;
  std::vector<std::optional<std::vector<vantrel::UnitItem>>> units_;
};

struct UnitRef {
  std::size_t category;
  std::size_t unit;
};

// Where the name's matches lie, per category, in the match tier that found any.
std::vector<UnitRef> FindUnits(Catalogue& catalogue, std::string_view name,
                               std::optional<std::size_t> onlyCategory) {
  std::vector<UnitRef> exact, loose;
  for (std::size_t c = 0; c < catalogue.categories().size(); ++c) {
    if (onlyCategory && c != *onlyCategory) continue;
    const auto& units = catalogue.Units(c);
    for (std::size_t u = 0; u < units.size(); ++u) {
      if (units[u].name == name) {
        exact.push_back({c, u});
      } else if (EqualsIgnoringAsciiCase(units[u].name, name)) {
        loose.push_back({c, u});
      }
    }
  }
  return exact.empty() ? loose : exact;
}

std::vector<std::size_t> CategoriesOf(const std::vector<UnitRef>& refs) {
  std::vector<std::size_t> categories;
  for (const UnitRef& r : refs) {
    if (categories.empty() || categories.back() != r.category) categories.push_back(r.category);
  }
  return categories;
}

// The pair to convert between: one category holding exactly one match of each name.
std::pair<const vantrel::UnitItem*, const vantrel::UnitItem*> ResolvePair(
    Catalogue& catalogue, const std::string& from, const std::string& to,
    const std::optional<std::string>& categoryName) {
  std::optional<std::size_t> only;
  if (categoryName) only = catalogue.IndexOf(catalogue.FindCategory(*categoryName));
  std::string where = only ? "分类" + Quote(catalogue.categories()[*only].name) + "中" : "";

  auto fromRefs = FindUnits(catalogue, from, only);
  auto toRefs = FindUnits(catalogue, to, only);
  if (fromRefs.empty()) throw Failure{where + "没有单位" + Quote(from)};
  if (toRefs.empty()) throw Failure{where + "没有单位" + Quote(to)};

  std::vector<std::size_t> common;
  for (std::size_t c : CategoriesOf(fromRefs)) {
    for (std::size_t d : CategoriesOf(toRefs)) {
      if (c == d) common.push_back(c);
    }
  }
  if (common.empty()) {
    throw Failure{"单位" + Quote(from) + "（" + catalogue.Names(CategoriesOf(fromRefs)) + "）和" +
                  Quote(to) + "（" + catalogue.Names(CategoriesOf(toRefs)) +
                  "）不在同一分类，无法换算"};
  }
  if (common.size() > 1) {
    throw Failure{"单位" + Quote(from) + "和" + Quote(to) + "同时出现在多个分类中：" +
                  catalogue.Names(common) + "；请用 --category 指定分类"};
  }
  auto pick = [&](const std::vector<UnitRef>& refs, const std::string& name) {
    const UnitRef* found = nullptr;
    for (const UnitRef& r : refs) {
      if (r.category != common.front()) continue;
      if (found) {
        throw Failure{"单位名称" + Quote(name) + "在分类" +
                      Quote(catalogue.categories()[r.category].name) +
                      "中有歧义（只差字母大小写），请写出准确的名称"};
      }
      found = &r;
    }
    return &catalogue.Units(found->category)[found->unit];
  };
  return {pick(fromRefs, from), pick(toRefs, to)};
}

class Converter {
 public:
  Converter(const vantrel::UnitItem& from, const vantrel::UnitItem& to)
      : ratios_{from.ratioText, to.ratioText} {}

  // One output line per value; a failed value gets an empty line so the lines stay
  // aligned with the input, and its error goes to stderr.
  void Convert(std::string_view value, const char* counter, std::size_t number) {
    try {
      out.Append(vantrel::ConvertText(value, ratios_, 0, 1));
    } catch (const vantrel::Error& e) {
      failed_ = true;
      err.Append("vantrel-cli: 第 " + std::to_string(number) + " " + counter + "：" + e.kind() +
                 ": " + e.message() + "\n");
    }
    out.Append("\n");
  }

  void ConvertStdin() {
    std::vector<char> buffer(kChunk);
    std::size_t kept = 0;  // bytes of an unfinished line at the front
    std::size_t line = 0;
    for (;;) {
      if (kept == buffer.size()) buffer.resize(buffer.size() * 2);
      ssize_t n = ::read(STDIN_FILENO, buffer.data() + kept, buffer.size() - kept);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw Failure{std::string("读取标准输入失败：") + std::strerror(errno)};
      if (n == 0) break;
      const char* begin = buffer.data();
      const char* end = begin + kept + static_cast<std::size_t>(n);
      for (const char* nl; (nl = static_cast<const char*>(std::memchr(begin, '\n', end - begin)));
           begin = nl + 1) {
        Convert(std::string_view(begin, static_cast<std::size_t>(nl - begin)), "行", ++line);
      }
      kept = static_cast<std::size_t>(end - begin);
      std::memmove(buffer.data(), begin, kept);
      // Interactive use sees each answer as soon as its line is read.
      out.Flush();
      err.Flush();
    }
    if (kept > 0) Convert(std::string_view(buffer.data(), kept), "行", ++line);
  }

  bool failed() const { return failed_; }

 private:
  static constexpr std::size_t kChunk = 1 << 20;
  std::vector<std::string> ratios_;
  bool failed_ = false;
};

int Run(const Options& options) {
  const std::string& command = options.args.front();
  const std::size_t argCount = options.args.size() - 1;
  auto usage = [](const std::string& what) { return Failure{what + "（用 --help 查看用法）"}; };
  if (options.begin && command != "search") throw usage("--begin 只用于 search");
  if (options.category && command != "convert") throw usage("--category 只用于 convert");

  Catalogue catalogue(options.dataDir.empty() ? DefaultDataDir() : options.dataDir);
  try {
    if (command == "categories") {
      if (argCount != 0) throw usage("categories 不带参数");
      for (const auto& c : catalogue.categories()) out.Append(c.name + "\n");
    } else if (command == "units") {
      if (argCount != 1) throw usage("units 需要一个分类名称");
      const auto& category = catalogue.FindCategory(options.args[1]);
      for (const auto& u : catalogue.Units(catalogue.IndexOf(category))) {
        out.Append(u.name + "\t" + u.ratioText + "\n");
      }
    } else if (command == "search") {
      if (argCount != 1) throw usage("search 需要一段要找的文字");
      std::string pattern = (options.begin ? "" : "%") + options.args[1] + "%";
      for (const auto& hit : catalogue.dm().SearchUnits(pattern)) {
        out.Append(hit.unitName + "\t" + hit.categoryName + "\n");
      }
    } else if (command == "convert") {
      if (argCount < 2) throw usage("convert 需要源单位和目标单位");
      auto [from, to] = ResolvePair(catalogue, options.args[1], options.args[2], options.category);
      Converter converter(*from, *to);
      if (argCount == 2) {
        converter.ConvertStdin();
      } else {
        for (std::size_t i = 3; i < options.args.size(); ++i) {
          converter.Convert(options.args[i], "个数值", i - 2);
        }
      }
      return converter.failed() ? 1 : 0;
    } else {
      throw usage("未知命令 " + command);
    }
  } catch (const vantrel::Error& e) {
    throw Failure{"读取单位数据失败：" + e.kind() + ": " + e.message()};
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Number text follows the C/POSIX convention, whatever the user's locale says.
  vantrel::SetDecimalSeparator(".");
  int status = 2;
  try {
    Options options = ParseArguments(argc, argv);
    if (options.help) {
      out.Append(kUsage);
      status = 0;
    } else if (options.args.empty()) {
      err.Append(kUsage);
    } else {
      status = Run(options);
    }
  } catch (const Failure& f) {
    err.Append("vantrel-cli: " + f.message + "\n");
    status = 2;
  } catch (const std::exception& e) {
    err.Append(std::string("vantrel-cli: ") + e.what() + "\n");
    status = 2;
  }
  try {
    out.Flush();
  } catch (const Failure& f) {
    err.Append("vantrel-cli: " + f.message + "\n");
    status = 2;
  }
  try {
    err.Flush();
  } catch (const Failure&) {
  }
  return status;
}
