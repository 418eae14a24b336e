#include "alias_config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

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

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

}  // namespace

std::optional<AliasConfig> parseAliasConfig(const std::string& iniText, const std::string& alias) {
    std::istringstream in(iniText);
    std::string line;
    bool inSection = false, found = false;
    AliasConfig cfg;
    cfg.alias = alias;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            const std::string name = trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = lower(name) == lower(alias);
            found = found || inSection;
            continue;
        }
        if (!inSection) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = lower(trim(line.substr(0, eq)));
        const std::string value = trim(line.substr(eq + 1));
        if (key == "driver") {
            cfg.driver = lower(value);
            if (cfg.driver == "postgresql") cfg.driver = "postgres";
            if (cfg.driver != "sqlite" && cfg.driver != "postgres")
                throw DatabaseError("Unknown database driver '" + value + "' for alias '" + alias + "'");
        } else if (key == "path" || key == "database path") {
            cfg.path = value;
        } else if (key == "host" || key == "server") {
            cfg.host = value;
        } else if (key == "port") {
            char* end = nullptr;
            const long p = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || p <= 0 || p > 65535)
                throw DatabaseError("Invalid port '" + value + "' for alias '" + alias + "'");
            cfg.port = static_cast<int>(p);
        } else if (key == "database" || key == "database name" || key == "dbname") {
            cfg.databaseName = value;
        } else if (key == "user" || key == "user name" || key == "username") {
            cfg.userName = value;
        }
        // Any other key (a password above all) is ignored: nothing secret is kept here.
    }
    if (!found) return std::nullopt;
    if (cfg.driver == "sqlite" && !cfg.path.empty() && cfg.path[0] == '~')
        cfg.path = homeDir() + cfg.path.substr(1);
    return cfg;
}

std::string defaultDatabasePath() {
    const std::string dataHome = envOr("XDG_DATA_HOME", homeDir() + "/.local/share");
    return dataHome + "/morvel/account.db";
}

AliasConfig findAliasConfig(const std::string& alias) {
    std::string text;
    if (const char* named = std::getenv("MORVEL_ALIAS_CONFIG"); named && *named) {
        if (!readFile(named, text))
            throw DatabaseError("Alias configuration file '" + std::string(named) + "' cannot be read");
        auto cfg = parseAliasConfig(text, alias);
        if (!cfg) throw DatabaseError("Alias '" + alias + "' not found in '" + std::string(named) + "'");
        cfg->source = named;
        return *cfg;
    }
    const std::string userFile = envOr("XDG_CONFIG_HOME", homeDir() + "/.config") + "/morvel/alias.ini";
    if (readFile(userFile, text)) {
        if (auto cfg = parseAliasConfig(text, alias)) {
            cfg->source = userFile;
            return *cfg;
        }
    }
    AliasConfig cfg;
    cfg.alias = alias;
    cfg.path = defaultDatabasePath();
    cfg.source = "built-in default";
    return cfg;
}

}  // namespace engine
