// Where the database alias points: the [Account] section of an INI file.
//
// Look-up order: the file named by MORVEL_ALIAS_CONFIG, then
// $XDG_CONFIG_HOME/morvel/alias.ini (~/.config/morvel/alias.ini), then the built-in
// default, an SQLite database at $XDG_DATA_HOME/morvel/account.db
// (~/.local/share/morvel/account.db). The built-in default serves only where neither
// file exists: a file that exists must say where the database is, or opening the
// connection fails with a message naming the file and what it lacks. A symbolic link
// whose target is missing is such a file. Only a regular file of at most 64 KiB is read
// (a FIFO, a device or a folder is an error naming the file); a UTF-8 byte-order mark at
// its start is skipped. No password is ever read from or written to it.
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
    std::string userName;           // prefilled in the login dialog
    bool userEntry = false;         // the section has a user-name entry, perhaps an empty one
    std::string source;             // where this configuration came from, for messages

    // Opening the connection asks for a login when a user name is configured, even an
    // empty one (the user then types it in the dialog).
    bool asksLogin() const { return userEntry || !userName.empty(); }
};

// Reads the section named `alias` of the INI text; nullopt when the section is missing.
// `source` names the text in messages (the file). Throws DatabaseError for a section
// that does not say where the database is (SQLite without a path, a server without its
// host or database name, an empty value), for keys it does not know, a key or the
// section given twice, an unknown driver or a bad port. A path that starts with "~/"
// lies in the home folder, one with "~name/" in the home folder of the user `name`.
std::optional<AliasConfig> parseAliasConfig(const std::string& iniText, const std::string& alias,
                                            const std::string& source = "Alias configuration");

// The configuration of `alias` found by the look-up order above. Throws DatabaseError
// when the file found cannot be read, lacks the alias's section or is malformed.
AliasConfig findAliasConfig(const std::string& alias);

// The built-in default SQLite path (without creating anything).
std::string defaultDatabasePath();

}  // namespace engine
