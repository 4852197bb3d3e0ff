// The shipped catalogue's source text: one unit per line, each defined against a unit
// of its category stated earlier, turned into the store the program opens.
//
//   category | base unit                       first line of a category
//   category | unit | factor | reference       one unit = factor × one reference
//
// Factors are small exact expressions (1/3, 0.45359237/16, 10^-9, 648000/pi) so the
// source states each definition rather than a rounded copy of it. "#" starts a
// comment; "@version TEXT" sets the data version row.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct SourceUnit {
  int line = 0;
  std::string name;
  std::string reference;  // empty for the base unit
  long double factor = 1;
  // Kept in extended precision so a chain of definitions is rounded to double once.
  long double exactRatio = 1;
  double baseRatio = 1;  // JBBZ
};

struct SourceCategory {
  int line = 0;
  std::string name;
  std::vector<SourceUnit> units;  // the base unit first
};

struct CatalogueSource {
  std::optional<std::string> version;
  std::vector<SourceCategory> categories;
};

struct SourceError {
  int line = 0;
  std::string message;
};

struct ParsedSource {
  CatalogueSource catalogue;
  std::vector<SourceError> errors;  // every bad line, in order
};

// Reads the whole source; never throws on bad input, every problem lands in errors.
ParsedSource ParseCatalogueSource(std::string_view text);

// Evaluates a factor expression in extended precision. Returns false with a reason
// for a malformed expression or a value that is not a finite positive number.
bool EvaluateFactor(std::string_view expression, long double& value, std::string& error);

// Builds the three store files in a fresh folder inside dataDir and moves them into
// place only when everything was written, so a failure leaves the old files as they
// were. Raises vantrel::Error (or std::runtime_error for file-system failures).
void WriteCatalogue(const CatalogueSource& catalogue, const std::string& dataDir);

}  // namespace vantrel
