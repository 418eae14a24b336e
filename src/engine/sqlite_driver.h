// The embedded SQLite backend.
#pragma once

#include <memory>

#include "driver.h"

namespace engine {

struct AliasConfig;

// Opens (creating when missing) the SQLite database the configuration names.
// Connection settings: WAL journal, synchronous NORMAL, a busy timeout, and the
// `+` function of the dialect; extra reader connections open in the background. Throws
// DatabaseError.
std::unique_ptr<Driver> openSqliteDriver(const AliasConfig& config);

}  // namespace engine
