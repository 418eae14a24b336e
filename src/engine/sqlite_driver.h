// The embedded SQLite backend.
#pragma once

#include <memory>

#include "driver.h"

namespace engine {

struct AliasConfig;

// Opens the SQLite database file the configuration names, once it has passed the checks
// of sqlite_database_file.h (a missing file, a folder, an empty file and so on are errors
// that name the path). Connection settings: WAL journal, synchronous NORMAL, a busy
// timeout of lockWait(), and the `+` function of the dialect; extra reader connections
// open in the background. Throws DatabaseError.
std::unique_ptr<Driver> openSqliteDriver(const AliasConfig& config);

}  // namespace engine
