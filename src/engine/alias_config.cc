#include "alias_config.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "error.h"
#include "file_kind.h"

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

// An alias file holds a few lines; anything larger is not one.
constexpr size_t kLargestAliasFile = 64 * 1024;

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
// lines without "=" are left out, and so is a UTF-8 byte-order mark at the start.
std::vector<Section> sectionsOf(const std::string& iniText) {
    std::vector<Section> sections;
    std::istringstream in(iniText.rfind("\xEF\xBB\xBF", 0) == 0 ? iniText.substr(3) : iniText);
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

// A key by its first name: "server" is "host", and so on.
std::string keyName(const std::string& key) {
    if (key == "database path") return "path";
    if (key == "server") return "host";
    if (isOneOf(key, {"database name", "dbname"})) return "database";
    if (isOneOf(key, {"user name", "username"})) return "user";
    return key;
}

// The text of an alias file: a regular file of at most kLargestAliasFile bytes. Throws
// DatabaseError naming the file otherwise, or when it cannot be read. A FIFO or a device
// is never read from (opening does not wait for a writer).
std::string readAliasFile(const std::string& path) {
    const auto failure = [&](const std::string& why) { return DatabaseError("Alias file " + path + " " + why); };
    const auto unreadable = [&] {
        const int error = errno;
        std::string why = std::string("cannot be read: ") + std::strerror(error);
        char target[4096];
        if (const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1); n > 0 && error == ENOENT)
            why += " (it is a symbolic link to " + std::string(target, static_cast<size_t>(n)) + ")";
        return failure(why);
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) throw unreadable();
    std::string text;
    struct stat info {};
    try {
        if (::fstat(fd, &info) != 0) throw unreadable();
        if (!S_ISREG(info.st_mode))
            throw failure("is " + specialFileKind(info.st_mode) + ", not a text file of the alias's settings");
        char chunk[4096];
        ssize_t n;
        while ((n = ::read(fd, chunk, sizeof chunk)) > 0 && text.size() <= kLargestAliasFile)
            text.append(chunk, static_cast<size_t>(n));
        if (n < 0) throw unreadable();
        if (text.size() > kLargestAliasFile)
            throw failure("is larger than " + std::to_string(kLargestAliasFile / 1024) +
                          " KiB, so it is no alias file (an alias file holds a few lines)");
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return text;
}

// "~/x" in the home folder, "~name/x" in the home folder of the user `name`.
std::string expandedHome(const std::string& path, const std::string& where) {
    if (path.empty() || path[0] != '~') return path;
    const auto slash = path.find('/');
    const std::string user = path.substr(1, slash == std::string::npos ? std::string::npos : slash - 1);
    const std::string rest = slash == std::string::npos ? std::string() : path.substr(slash);
    if (user.empty()) return homeDir() + rest;
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwnam_r(user.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        throw DatabaseError(where + " has a 'path' in the home folder of '" + user +
                            "', a user this system does not know");
    return found->pw_dir + rest;
}

// The alias's section of an alias file that exists, or an error naming the file.
AliasConfig fromFile(const std::string& path, const std::string& alias) {
    const std::string text = readAliasFile(path);
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
    std::vector<std::string> given;  // the keys met so far, each by its first name
    for (const Section& section : sectionsOf(iniText)) {
        if (lower(section.name) != lower(alias)) continue;
        if (found) throw DatabaseError(source + " has the section [" + alias + "] twice");
        found = true;
        for (const auto& [key, value] : section.entries) {
            const std::string name = keyName(key);
            if (std::find(given.begin(), given.end(), name) != given.end())
                throw DatabaseError(where + " gives '" + name + "' twice");
            given.push_back(name);
            if (name == "driver") {
                cfg.driver = lower(value);
                if (cfg.driver == "postgresql") cfg.driver = "postgres";
                if (cfg.driver != "sqlite" && cfg.driver != "postgres")
                    throw DatabaseError(where + " names an unknown database driver '" + value +
                                        "' (sqlite or postgres)");
            } else if (name == "path") {
                path = value;
            } else if (name == "host") {
                host = value;
            } else if (name == "port") {
                char* end = nullptr;
                const long p = std::strtol(value.c_str(), &end, 10);
                if (value.empty() || *end != '\0' || p <= 0 || p > 65535)
                    throw DatabaseError(where + " has an invalid port '" + value + "'");
                cfg.port = static_cast<int>(p);
            } else if (name == "database") {
                database = value;
            } else if (name == "user") {
                cfg.userName = value;
                cfg.userEntry = true;
            } else if (name != "password") {  // a password is never read: nothing secret is kept here
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
        cfg.path = expandedHome(required(path, "path", "the SQLite database file"), where);
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
    // Only where no alias file exists at all does the built-in default serve: a symbolic
    // link whose target is missing (a share not mounted) is an alias file that cannot be read.
    struct stat info {};
    if (::lstat(userFile.c_str(), &info) == 0 || (errno != ENOENT && errno != ENOTDIR)) return fromFile(userFile, alias);
    AliasConfig cfg;
    cfg.alias = alias;
    cfg.path = defaultDatabasePath();
    cfg.source = "built-in default";
    return cfg;
}

}  // namespace engine
