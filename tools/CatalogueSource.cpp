#include "tools/CatalogueSource.h"

#include <iconv.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <system_error>

#include "catalogue/Store.h"
#include "catalogue/UntDM.h"
#include "conversion/Errors.h"
#include "conversion/NumberText.h"

namespace vantrel {
namespace {

constexpr std::size_t kMaxNameBytes = 50;  // 25 Chinese characters in GBK
constexpr int kMaxPower = 4096;

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Bytes the name takes in GBK; nullopt when it is not valid UTF-8 or GBK lacks one
// of its characters.
std::optional<std::size_t> GbkBytes(std::string_view utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert to GBK");
  std::string in(utf8);
  char out[256];
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out;
  std::size_t outLeft = sizeof out;
  std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  bool ok = rc != static_cast<std::size_t>(-1) && inLeft == 0;
  if (ok) ok = iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return sizeof out - outLeft;
}

// Empty when the name is acceptable, else the reason.
std::string CheckName(std::string_view name, const char* what) {
  if (name.empty()) return std::string(what) + " is empty";
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) return std::string(what) + " holds a control character";
  }
  if (name.size() > 4 * kMaxNameBytes) return std::string(what) + " is longer than 50 GBK bytes";
  auto bytes = GbkBytes(name);
  if (!bytes) return std::string(what) + " \"" + std::string(name) + "\" is not GBK-encodable";
  if (*bytes > kMaxNameBytes) {
    return std::string(what) + " \"" + std::string(name) + "\" takes " + std::to_string(*bytes) +
           " GBK bytes, more than 50";
  }
  return {};
}

// Recursive descent over: expr := power (('*' | '/') power)*;
// power := primary ('^' ['+'|'-'] digits)?; primary := number | pi | '(' expr ')'.
class FactorParser {
 public:
  explicit FactorParser(std::string_view text) : text_(text) {}

  bool Parse(long double& value, std::string& error) {
    value = Expression();
    Skip();
    if (error_.empty() && pos_ != text_.size()) Fail("unexpected \"" + Rest() + "\"");
    if (!error_.empty()) {
      error = error_;
      return false;
    }
    return true;
  }

 private:
  long double Expression() {
    long double v = Power();
    for (;;) {
      Skip();
      if (!error_.empty() || pos_ >= text_.size()) return v;
      char op = text_[pos_];
      if (op != '*' && op != '/') return v;
      ++pos_;
      long double rhs = Power();
      if (op == '*') {
        v *= rhs;
      } else {
        if (rhs == 0) Fail("division by zero");
        v /= rhs;
      }
    }
  }

  long double Power() {
    long double base = Primary();
    Skip();
    if (!error_.empty() || pos_ >= text_.size() || text_[pos_] != '^') return base;
    ++pos_;
    Skip();
    bool negative = false;
    if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) {
      negative = text_[pos_] == '-';
      ++pos_;
    }
    std::size_t start = pos_;
    long exponent = 0;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) {
      exponent = exponent * 10 + (text_[pos_] - '0');
      if (exponent > kMaxPower) {
        Fail("exponent too large");
        return base;
      }
      ++pos_;
    }
    if (pos_ == start) {
      Fail("integer exponent expected after \"^\"");
      return base;
    }
    Skip();
    if (pos_ < text_.size() && text_[pos_] == '^') {
      Fail("write a^b^c with parentheses");
      return base;
    }
    return Raise(base, negative ? -exponent : exponent);
  }

  long double Primary() {
    Skip();
    if (pos_ >= text_.size()) {
      Fail("number expected");
      return 1;
    }
    if (text_[pos_] == '(') {
      ++pos_;
      long double v = Expression();
      Skip();
      if (!error_.empty()) return v;
      if (pos_ >= text_.size() || text_[pos_] != ')') {
        Fail("\")\" expected");
        return v;
      }
      ++pos_;
      return v;
    }
    if (text_.substr(pos_, 2) == "pi") {
      pos_ += 2;
      return kPi;
    }
    if (text_.substr(pos_, 2) == "\u03C0") {  // π
      pos_ += 2;
      return kPi;
    }
    return Number();
  }

  long double Number() {
    std::size_t start = pos_;
    std::size_t digits = 0;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_, ++digits;
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_, ++digits;
    }
    if (digits == 0) {
      Fail("number expected at \"" + Rest() + "\"");
      return 1;
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      std::size_t mark = pos_++;
      if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
      std::size_t expStart = pos_;
      while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
      if (pos_ == expStart) {
        pos_ = mark;
        Fail("exponent digits expected at \"" + Rest() + "\"");
        return 1;
      }
    }
    // strtold rounds the decimal literal correctly to extended precision.
    std::string literal(text_.substr(start, pos_ - start));
    return std::strtold(literal.c_str(), nullptr);
  }

  static long double Raise(long double base, long exponent) {
    if (base == 10) {
      // Correctly rounded, where repeated multiplication would not be beyond 10^27.
      std::string literal = "1e" + std::to_string(exponent);
      return std::strtold(literal.c_str(), nullptr);
    }
    long double result = 1;
    long double square = base;
    for (long n = exponent < 0 ? -exponent : exponent; n != 0; n >>= 1) {
      if (n & 1) result *= square;
      square *= square;
    }
    return exponent < 0 ? 1 / result : result;
  }

  void Skip() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  std::string Rest() const { return std::string(text_.substr(pos_)); }
  void Fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    pos_ = text_.size();
  }

  static constexpr long double kPi = 3.141592653589793238462643383279502884L;
  std::string_view text_;
  std::size_t pos_ = 0;
  std::string error_;
};

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    std::size_t bar = line.find('|');
    fields.push_back(Trim(line.substr(0, bar)));
    if (bar == std::string_view::npos) return fields;
    line.remove_prefix(bar + 1);
  }
}

}  // namespace

bool EvaluateFactor(std::string_view expression, long double& value, std::string& error) {
  if (Trim(expression).empty()) {
    error = "factor is empty";
    return false;
  }
  if (!FactorParser(expression).Parse(value, error)) return false;
  if (!std::isfinite(value) || !(value > 0)) {
    error = "factor is not a finite positive number";
    return false;
  }
  return true;
}

ParsedSource ParseCatalogueSource(std::string_view text) {
  ParsedSource result;
  auto& categories = result.catalogue.categories;
  std::map<std::string, std::size_t> categoryIndex;
  std::vector<std::map<std::string, std::size_t>> unitIndex;  // per category
  auto error = [&](int line, std::string message) {
    result.errors.push_back({line, std::move(message)});
  };

  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNo = 0;
  while (!text.empty()) {
    ++lineNo;
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line.substr(0, line.find('#')));
    if (line.empty()) continue;

    if (line.front() == '@') {
      std::string_view directive = line.substr(0, line.find_first_of(" \t"));
      std::string_view value = Trim(line.substr(directive.size()));
      if (directive != "@version") {
        error(lineNo, "unknown directive \"" + std::string(directive) + "\"");
      } else if (result.catalogue.version) {
        error(lineNo, "second @version line");
      } else if (std::string why = CheckName(value, "version text"); !why.empty()) {
        error(lineNo, why);
      } else {
        result.catalogue.version = std::string(value);
      }
      continue;
    }

    std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() != 2 && fields.size() != 4) {
      error(lineNo, "expected \"category | unit\" or \"category | unit | factor | reference\"");
      continue;
    }
    std::string categoryName(fields[0]);
    std::string unitName(fields[1]);
    if (std::string why = CheckName(categoryName, "category name"); !why.empty()) {
      error(lineNo, why);
      continue;
    }
    if (std::string why = CheckName(unitName, "unit name"); !why.empty()) {
      error(lineNo, why);
      continue;
    }
    auto found = categoryIndex.find(categoryName);

    if (fields.size() == 2) {
      if (found != categoryIndex.end()) {
        error(lineNo, "category \"" + categoryName + "\" already has its base unit \"" +
                          categories[found->second].units.front().name + "\" (line " +
                          std::to_string(categories[found->second].line) + ")");
        continue;
      }
      categoryIndex.emplace(categoryName, categories.size());
      SourceUnit base;
      base.line = lineNo;
      base.name = unitName;
      categories.push_back({lineNo, categoryName, {base}});
      unitIndex.push_back({{unitName, 0}});
      continue;
    }

    if (found == categoryIndex.end()) {
      error(lineNo, "category \"" + categoryName +
                        "\" has no base unit yet: its first line must be \"" + categoryName +
                        " | <base unit>\"");
      continue;
    }
    SourceCategory& category = categories[found->second];
    auto& names = unitIndex[found->second];
    if (auto dup = names.find(unitName); dup != names.end()) {
      error(lineNo, "unit \"" + unitName + "\" is already defined in category \"" + categoryName +
                        "\" (line " + std::to_string(category.units[dup->second].line) + ")");
      continue;
    }
    std::string referenceName(fields[3]);
    auto ref = names.find(referenceName);
    if (ref == names.end()) {
      error(lineNo, "unknown reference unit \"" + referenceName + "\" in category \"" +
                        categoryName + "\" (a reference must be defined on an earlier line)");
      continue;
    }
    SourceUnit unit;
    unit.line = lineNo;
    unit.name = unitName;
    unit.reference = referenceName;
    std::string why;
    if (!EvaluateFactor(fields[2], unit.factor, why)) {
      error(lineNo, "bad factor \"" + std::string(fields[2]) + "\": " + why);
      continue;
    }
    unit.exactRatio = unit.factor * category.units[ref->second].exactRatio;
    unit.baseRatio = static_cast<double>(unit.exactRatio);
    if (!std::isnormal(unit.baseRatio)) {
      error(lineNo, "base ratio of \"" + unitName + "\" is out of the range of a double");
      continue;
    }
    names.emplace(unitName, category.units.size());
    category.units.push_back(std::move(unit));
  }
  return result;
}

namespace {

// One store file opened on its own, so the rows of a whole catalogue go in as one
// transaction instead of one synced commit per unit.
class StoreFile {
 public:
  explicit StoreFile(const std::filesystem::path& path) : name_(path.filename().string()) {
    int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) Fail("open");
  }
  ~StoreFile() {
    for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
    sqlite3_close(db_);
  }
  StoreFile(const StoreFile&) = delete;
  StoreFile& operator=(const StoreFile&) = delete;

  void Exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(sql);
  }

  // Runs an insert or update with the given values bound in order; returns the rowid
  // of the last insert.
  template <typename... Values>
  int Run(const char* sql, const Values&... values) {
    sqlite3_stmt*& statement = statements_[sql];
    if (!statement && sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) {
      Fail(sql);
    }
    sqlite3_reset(statement);
    int index = 0;
    (Bind(statement, ++index, values), ...);
    if (sqlite3_step(statement) != SQLITE_DONE) Fail(sql);
    return static_cast<int>(sqlite3_last_insert_rowid(db_));
  }

 private:
  void Bind(sqlite3_stmt* s, int i, int v) { Check(sqlite3_bind_int(s, i, v)); }
  void Bind(sqlite3_stmt* s, int i, double v) { Check(sqlite3_bind_double(s, i, v)); }
  void Bind(sqlite3_stmt* s, int i, const std::string& v) {
    Check(sqlite3_bind_text(s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
  }
  void Check(int rc) {
    if (rc != SQLITE_OK) Fail("bind");
  }
  [[noreturn]] void Fail(const std::string& what) {
    throw EDatabaseError(name_ + ": " + what + ": " +
                         (db_ ? sqlite3_errmsg(db_) : "out of memory"));
  }

  std::string name_;
  sqlite3* db_ = nullptr;
  std::map<std::string, sqlite3_stmt*> statements_;
};

// What the data module reads back must be exactly what was built.
void CheckReadBack(const CatalogueSource& catalogue, const std::string& dir) {
  TDMMain dm(dir);
  auto fail = [](const std::string& what) {
    throw std::runtime_error("the written catalogue does not read back as built: " + what);
  };
  std::vector<CategoryItem> categories = dm.Categories();
  if (categories.size() != catalogue.categories.size()) fail("category count");
  for (std::size_t c = 0; c < categories.size(); ++c) {
    const SourceCategory& source = catalogue.categories[c];
    if (categories[c].name != source.name) fail("category " + source.name);
    std::optional<int> baseId = dm.BaseUnitId(categories[c].id);
    std::vector<UnitItem> units = dm.Units(categories[c].id);
    if (!baseId || units.size() != source.units.size()) fail("units of " + source.name);
    for (const SourceUnit& unit : source.units) {
      auto same = [&](const UnitItem& u) {
        return u.name == unit.name && u.ratioText == FormatNumber(unit.baseRatio);
      };
      if (std::find_if(units.begin(), units.end(), same) == units.end()) fail("unit " + unit.name);
    }
  }
  if (dm.DataVersion() != catalogue.version) fail("version row");
}

}  // namespace

void WriteCatalogue(const CatalogueSource& catalogue, const std::string& dataDir) {
  namespace fs = std::filesystem;
  const char* const kFiles[] = {"Lb.dat", "Dw.dat", "Lb.idx"};

  fs::create_directories(dataDir);
  std::string pattern = (fs::path(dataDir) / ".catalogue-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    throw std::system_error(errno, std::generic_category(), "cannot create a folder in " + dataDir);
  }
  const fs::path temp = pattern;
  struct Cleanup {
    const fs::path& dir;
    ~Cleanup() {
      std::error_code ignored;
      fs::remove_all(dir, ignored);
    }
  } cleanup{temp};

  CreateStore(temp.string(), catalogue.version);
  {
    StoreFile lb(temp / "Lb.dat");
    StoreFile dw(temp / "Dw.dat");
    lb.Exec("BEGIN");
    dw.Exec("BEGIN");
    for (const SourceCategory& category : catalogue.categories) {
      int categoryId = lb.Run("INSERT INTO LB (LBMC) VALUES (?1)", category.name);
      std::map<std::string, int> ids;
      for (const SourceUnit& unit : category.units) {
        bool base = unit.reference.empty();
        int id = dw.Run("INSERT INTO DW (DWMC, SSLBID, JBBZ, Jbdw) VALUES (?1, ?2, ?3, ?4)",
                        unit.name, categoryId, unit.baseRatio, base ? 1 : 0);
        // The base unit is its own reference.
        dw.Run("UPDATE DW SET DYJLDWID = ?1 WHERE DWID = ?2", base ? id : ids.at(unit.reference),
               id);
        ids[unit.name] = id;
      }
    }
    dw.Exec("COMMIT");
    lb.Exec("COMMIT");
  }
  CheckReadBack(catalogue, temp.string());

  // A journal left by a crashed writer would be replayed into the fresh files.
  for (const char* file : kFiles) {
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
      fs::remove(fs::path(dataDir) / (std::string(file) + suffix));
    }
  }
  for (const char* file : kFiles) fs::rename(temp / file, fs::path(dataDir) / file);
}

}  // namespace vantrel
