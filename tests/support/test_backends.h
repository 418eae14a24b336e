// The database backends the tests can use, and the alias "Account" pointed at one: an
// SQLite file, or a database of the test PostgreSQL server that scripts/test-postgres.sh
// starts on 127.0.0.1 and names in MORVEL_TEST_PG_PORT. Every database test finds its
// backends and sets its alias here.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/alias_config.h"
#include "engine/database.h"

namespace test_backends {

enum class Backend { SQLite, PostgreSQL };

// Both backends, in this order; a test asks available() before it uses one.
inline std::vector<Backend> all() { return {Backend::SQLite, Backend::PostgreSQL}; }

// The test PostgreSQL server's port, 0 when there is none.
inline int postgresPort() {
    const char* port = std::getenv("MORVEL_TEST_PG_PORT");
    return port && *port ? std::atoi(port) : 0;
}

inline bool available(Backend backend) { return backend == Backend::SQLite || postgresPort() != 0; }

inline std::string name(Backend backend) { return backend == Backend::SQLite ? "SQLite" : "PostgreSQL"; }

inline const char* kNoServer = "no test PostgreSQL server (MORVEL_TEST_PG_PORT)";

// The role the tests connect to the server as, like a clerk's: it creates tables in a
// schema of its own and has no right to create anything in the database or its public
// schema, nor temporary tables.
inline constexpr const char* kPostgresRole = "morvel_clerk";

// libpq connection parameters of a database on the test server, for checks of its own.
inline std::string postgresConnectionInfo(const std::string& database) {
    return "host=127.0.0.1 port=" + std::to_string(postgresPort()) + " dbname=" + database + " user=" + kPostgresRole;
}

// Drops every open connection and the login handler.
inline void releaseAlias() {
    engine::resetDatabases();
    engine::setLoginHandler({});
}

// Points "Account" at an SQLite file (dropping the connections opened so far).
inline void pointAliasAtSqlite(const std::string& path) {
    releaseAlias();
    engine::AliasConfig config;
    config.driver = "sqlite";
    config.path = path;
    engine::databaseForAlias("Account").setConfig(config);
}

// Points "Account" at a database of the test server; its login is answered at once.
inline void pointAliasAtPostgres(const std::string& database) {
    releaseAlias();
    engine::AliasConfig config;
    config.driver = "postgres";
    config.host = "127.0.0.1";
    config.port = postgresPort();
    config.databaseName = database;
    config.userName = kPostgresRole;
    engine::databaseForAlias("Account").setConfig(config);
    engine::setLoginHandler([](engine::LoginRequest&) { return true; });
}

}  // namespace test_backends
