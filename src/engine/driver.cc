#include "driver.h"

#include "alias_config.h"
#include "error.h"
#include "postgres_driver.h"
#include "sqlite_driver.h"

namespace engine {

std::unique_ptr<Driver> openDriver(const AliasConfig& config, const LoginRequest* login) {
    if (config.driver == "sqlite") return openSqliteDriver(config);
    if (config.driver == "postgres") return openPostgresDriver(config, login);
    throw DatabaseError("Database driver '" + config.driver + "' for alias '" + config.alias +
                        "' is not available in this build");
}

}  // namespace engine
