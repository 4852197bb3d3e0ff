// The data module: the one way every window and tool reaches the unit catalogue.
// Each operation is one statement, or one transaction when it takes several; names
// and numbers are bound as parameters. Store errors raise EDatabaseError.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vantrel {

struct CategoryItem {  // a row of LB: id and name
  int id = 0;
  std::string name;
};

struct UnitItem {  // id, name and base ratio written by FormatNumber ("" when missing)
  int id = 0;
  std::string name;
  std::string ratioText;
};

struct UnitDefinition {  // a non-base unit as the unit window lists it
  int id = 0;
  std::string name;
  std::string ratioText;
  std::string refIdText;  // DYJLDWID as text
};

struct UnitPairNames {  // DW1 / DW2 of a category; empty text when null
  std::string from;
  std::string to;
};

struct UnitSearchHit {
  std::string unitName;
  int categoryId = 0;
  std::string categoryName;
};

struct CategoryGridRow {  // a category with its base unit
  int categoryId = 0;
  std::string categoryName;
  int baseUnitId = 0;
  std::string baseUnitName;
};

class TDMMain {
 public:
  // Opens Lb.dat, Dw.dat and Lb.idx in dataDir. Never creates a file: a missing,
  // damaged or foreign file, or an unknown store format, raises EDatabaseError.
  explicit TDMMain(const std::string& dataDir);
  ~TDMMain();
  TDMMain(const TDMMain&) = delete;
  TDMMain& operator=(const TDMMain&) = delete;

  // Every category in the table's own order.
  std::vector<CategoryItem> Categories();
  // Every unit of a category, base unit included, in store order.
  std::vector<UnitItem> Units(int categoryId);
  // The stored last pair of a category; nullopt when the category row is missing.
  std::optional<UnitPairNames> UnitPair(int categoryId);
  void SaveUnitPair(int categoryId, const std::string& fromName, const std::string& toName);

  // LIKE patterns: "%" and "_" are wildcards, everything else (quotes too) is literal.
  std::vector<UnitSearchHit> SearchUnits(const std::string& pattern);
  std::vector<std::string> SearchCategories(const std::string& pattern);

  // The shipped data's version text; nullopt without a version row.
  std::optional<std::string> DataVersion();

  // Category maintenance.
  std::vector<CategoryGridRow> CategoryGrid();
  bool CategoryExists(const std::string& name);
  // Adds the category with its base unit (ratio 1, referring to itself) in one
  // transaction; returns the new category's id.
  int AddCategory(const std::string& name, const std::string& baseUnitName);
  void RenameCategory(int categoryId, const std::string& name, int baseUnitId,
                      const std::string& baseUnitName);
  bool CategoryHasOtherUnits(int categoryId);
  // Deletes a category and its base unit in one transaction. Returns false, changing
  // nothing, when the category still holds units other than its base unit.
  bool DeleteCategory(int categoryId);

  // Unit maintenance.
  std::vector<UnitDefinition> NonBaseUnits(int categoryId);
  // Units a unit can be defined against: all of the category, less exceptUnitId.
  std::vector<UnitItem> ReferenceCandidates(int categoryId, std::optional<int> exceptUnitId);
  // The base unit's id; nullopt when the category has none.
  std::optional<int> BaseUnitId(int categoryId);
  bool UnitNameTaken(const std::string& name, int categoryId, std::optional<int> exceptUnitId);
  // Refused with EDatabaseError, nothing written: a base ratio that is infinite or not
  // a number, a category that does not exist, a reference unit outside the category;
  // for ModifyUnit also the base unit itself, a unit of another category, and the unit
  // as its own reference.
  int AddUnit(const std::string& name, int categoryId, double baseRatio, int refUnitId);
  void ModifyUnit(int unitId, const std::string& name, int categoryId, double baseRatio,
                  int refUnitId);
  // Deletes a unit and points its dependants at the base unit, in one transaction;
  // their base ratios stay as they are. The base unit is refused with EDatabaseError.
  void DeleteUnit(int categoryId, int unitId);

 private:
  struct Statements;  // prepared once, kept for the connection's lifetime
  sqlite3_stmt* Statement(const char* sql);
  // Runs the steps between BEGIN IMMEDIATE and COMMIT; any failure rolls back and
  // is raised again.
  void InTransaction(const std::function<void()>& steps);
  // True when unitId is one of the category's units, its base unit included.
  bool IsUnitOf(int categoryId, int unitId);

  sqlite3* db_ = nullptr;
  std::unique_ptr<Statements> statements_;
};

}  // namespace vantrel
