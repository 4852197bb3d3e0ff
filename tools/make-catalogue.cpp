// Build step: turns the catalogue source into the data files the program ships with.
//   make-catalogue SOURCE DATADIR
// Any bad line fails the build with its line number; the old files stay untouched.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "conversion/Errors.h"
#include "tools/CatalogueSource.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make-catalogue SOURCE DATADIR\n";
    return 2;
  }
  const std::string source = argv[1];
  const std::string dataDir = argv[2];

  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << source << ": cannot read the catalogue source\n";
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();

  vantrel::ParsedSource parsed = vantrel::ParseCatalogueSource(text.str());
  if (!parsed.errors.empty()) {
    for (const vantrel::SourceError& e : parsed.errors) {
      std::cerr << source << ":" << e.line << ": error: " << e.message << "\n";
    }
    std::cerr << source << ": " << parsed.errors.size()
              << " bad line(s); the catalogue was not written\n";
    return 1;
  }
  if (parsed.catalogue.categories.empty()) {
    std::cerr << source << ": no categories; the catalogue was not written\n";
    return 1;
  }

  try {
    vantrel::WriteCatalogue(parsed.catalogue, dataDir);
  } catch (const vantrel::Error& e) {
    std::cerr << dataDir << ": " << e.kind() << ": " << e.message() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << dataDir << ": " << e.what() << "\n";
    return 1;
  }

  std::size_t units = 0;
  for (const auto& category : parsed.catalogue.categories) units += category.units.size();
  std::cout << "catalogue: " << parsed.catalogue.categories.size() << " categories, " << units
            << " units -> " << dataDir << "\n";
  return 0;
}
