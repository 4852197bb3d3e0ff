// What the data module and the store builder share about the three catalogue files:
// their names, how SQLite is asked to open them, and how its failures are reported.
#pragma once

#include <filesystem>
#include <string>

struct sqlite3;

namespace vantrel::store {

inline constexpr const char kLbFile[] = "Lb.dat";   // table LB
inline constexpr const char kDwFile[] = "Dw.dat";   // table DW
inline constexpr const char kIdxFile[] = "Lb.idx";  // the manifest

inline constexpr const char kFormatKey[] = "format";

// A file: URI for path with every byte outside the unreserved set percent-encoded, so
// that "?", "#" or "%" in a folder name cannot turn into URI syntax. mode is "rw" or
// "rwc".
std::string FileUri(const std::filesystem::path& path, const char* mode);

// Raises EDatabaseError for a failed SQLite call: a lock that stays taken gets the
// busy message, everything else the engine's own text after what.
[[noreturn]] void RaiseSqlite(sqlite3* db, int rc, const std::string& what);

// True for the result codes of a lock held by another connection.
bool IsBusy(int rc);

}  // namespace vantrel::store
