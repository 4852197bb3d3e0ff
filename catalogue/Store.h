// Creating a new, empty catalogue store. Only the catalogue builder and tests create
// stores; the data module never does.
#pragma once

#include <optional>
#include <string>

namespace vantrel {

inline constexpr int kStoreFormatVersion = 1;

// Creates Lb.dat, Dw.dat and Lb.idx in dataDir (which must exist and hold none of
// them), with the tables LB and DW, the manifest, and a version row when given.
void CreateStore(const std::string& dataDir, const std::optional<std::string>& dataVersion);

}  // namespace vantrel
