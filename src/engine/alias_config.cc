#include "alias_config.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <sys/stat.h>
#include <vector>

#include "error.h"

namespace engine {
namespace {

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string envOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : fallback;
}

std::string homeDir() { return envOr("HOME", "."); }

// One "key = value" line of a section.
struct Entry {
    std::string key;  // lower case
    std::string value;
};

struct Section {
    std::string name;
    std::vector<Entry> entries;
};

// The sections of INI text in their order, with their entries; comments (";", "#") and
// lines without "=" are left out.
std::vector<Section> sectionsOf(const std::string& iniText) {
    std::vector<Section> sections;
    std::istringstream in(iniText);
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            sections.push_back({trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)), {}});
            continue;
        }
        const auto eq = line.find('=');
        if (sections.empty() || eq == std::string::npos) continue;
        sections.back().entries.push_back({lower(trim(line.substr(0, eq))), trim(line.substr(eq + 1))});
    }
    return sections;
}

bool isOneOf(const std::string& key, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* name) { return key == name; });
}

// Reads a whole file. False with errno set when it cannot be opened or read.
bool readFile(const std::string& path, std::string& out) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    out.clear();
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) out.append(chunk, n);
    const bool failed = std::ferror(file);
    const int error = errno;
    std::fclose(file);
    errno = error;
    return !failed;
}

// The alias's section of an alias file that exists, or an error naming the file.
AliasConfig fromFile(const std::string& path, const std::string& alias) {
    std::string text;
    if (!readFile(path, text))
        throw DatabaseError("Alias file " + path + " cannot be read: " + std::strerror(errno));
    if (auto cfg = parseAliasConfig(text, alias, "Alias file " + path)) {
        cfg->source = path;
        return *cfg;
    }
    std::string found;
    for (const Section& section : sectionsOf(text)) found += (found.empty() ? "[" : ", [") + section.name + "]";
    throw DatabaseError("Alias file " + path + " has no section [" + alias +
                        "], so it does not say where the database is" +
                        (found.empty() ? std::string(" (it has no section at all)") : " (its sections: " + found + ")"));
}

}  // namespace

std::optional<AliasConfig> parseAliasConfig(const std::string& iniText, const std::string& alias,
                                            const std::string& source) {
    AliasConfig cfg;
    cfg.alias = alias;
    cfg.source = source;
    bool found = false;
    std::optional<std::string> path, host, database;
    std::vector<std::string> unknown;
    const std::string where = source + ": section [" + alias + "]";
    for (const Section& section : sectionsOf(iniText)) {
        if (lower(section.name) != lower(alias)) continue;
        found = true;
        for (const auto& [key, value] : section.entries) {
            if (key == "driver") {
                cfg.driver = lower(value);
                if (cfg.driver == "postgresql") cfg.driver = "postgres";
                if (cfg.driver != "sqlite" && cfg.driver != "postgres")
                    throw DatabaseError(where + " names an unknown database driver '" + value +
                                        "' (sqlite or postgres)");
            } else if (isOneOf(key, {"path", "database path"})) {
                path = value;
            } else if (isOneOf(key, {"host", "server"})) {
                host = value;
            } else if (key == "port") {
                char* end = nullptr;
                const long p = std::strtol(value.c_str(), &end, 10);
                if (value.empty() || *end != '\0' || p <= 0 || p > 65535)
                    throw DatabaseError(where + " has an invalid port '" + value + "'");
                cfg.port = static_cast<int>(p);
            } else if (isOneOf(key, {"database", "database name", "dbname"})) {
                database = value;
            } else if (isOneOf(key, {"user", "user name", "username"})) {
                cfg.userName = value;
                cfg.userEntry = true;
            } else if (key != "password") {  // a password is never read: nothing secret is kept here
                unknown.push_back("'" + key + "'");
            }
        }
    }
    if (!found) return std::nullopt;
    if (!unknown.empty()) {
        std::string names;
        for (const auto& name : unknown) names += (names.empty() ? "" : ", ") + name;
        throw DatabaseError(where + " has " + (unknown.size() == 1 ? "a key" : "keys") + " it does not know: " + names +
                            " (the keys are driver, path, host, port, database and user)");
    }
    // Every value that says where the database is must be there and not empty.
    const auto required = [&](const std::optional<std::string>& value, const char* key, const char* meaning) {
        if (!value)
            throw DatabaseError(where + " has no '" + key + "' (" + meaning +
                                "), so it does not say where the database is");
        if (value->empty())
            throw DatabaseError(where + " has an empty '" + key + "' (" + meaning +
                                "), so it does not say where the database is");
        return *value;
    };
    if (cfg.driver == "sqlite") {
        cfg.path = required(path, "path", "the SQLite database file");
        if (cfg.path[0] == '~') cfg.path = homeDir() + cfg.path.substr(1);
    } else {
        cfg.host = required(host, "host", "the PostgreSQL server");
        cfg.databaseName = required(database, "database", "the database name on the server");
    }
    return cfg;
}

std::string defaultDatabasePath() {
    const std::string dataHome = envOr("XDG_DATA_HOME", homeDir() + "/.local/share");
    return dataHome + "/morvel/account.db";
}

AliasConfig findAliasConfig(const std::string& alias) {
    if (const char* named = std::getenv("MORVEL_ALIAS_CONFIG"); named && *named) return fromFile(named, alias);
    const std::string userFile = envOr("XDG_CONFIG_HOME", homeDir() + "/.config") + "/morvel/alias.ini";
    // Only where no alias file exists at all does the built-in default serve.
    struct stat info {};
    if (::stat(userFile.c_str(), &info) == 0 || (errno != ENOENT && errno != ENOTDIR)) return fromFile(userFile, alias);
    AliasConfig cfg;
    cfg.alias = alias;
    cfg.path = defaultDatabasePath();
    cfg.source = "built-in default";
    return cfg;
}

}  // namespace engine
