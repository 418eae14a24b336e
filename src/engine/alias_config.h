// Where the database alias points: the [Account] section of an INI file.
//
// Look-up order: the file named by MORVEL_ALIAS_CONFIG, then
// $XDG_CONFIG_HOME/morvel/alias.ini (~/.config/morvel/alias.ini), then the built-in
// default, an SQLite database at $XDG_DATA_HOME/morvel/account.db
// (~/.local/share/morvel/account.db). No password is ever read from or written to it.
#pragma once

#include <optional>
#include <string>

namespace engine {

struct AliasConfig {
    std::string alias = "Account";
    std::string driver = "sqlite";  // "sqlite" or "postgres"
    std::string path;               // sqlite: database file
    std::string host;               // postgres: server
    int port = 5432;
    std::string databaseName;       // postgres: database name
    std::string userName;           // when set, opening the connection asks for a login
    std::string source;             // where this configuration came from, for messages
};

// Reads the section named `alias` of the INI text; nullopt when the section is missing.
// Throws DatabaseError for a malformed section (unknown driver, bad port).
std::optional<AliasConfig> parseAliasConfig(const std::string& iniText, const std::string& alias);

// The configuration of `alias` found by the look-up order above.
AliasConfig findAliasConfig(const std::string& alias);

// The built-in default SQLite path (without creating anything).
std::string defaultDatabasePath();

}  // namespace engine
