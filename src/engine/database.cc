#include "database.h"

#include <map>

#include "error.h"

namespace engine {
namespace {

LoginHandler& loginHandler() {
    static LoginHandler handler;
    return handler;
}

std::map<std::string, std::unique_ptr<Database>>& registry() {
    static std::map<std::string, std::unique_ptr<Database>> aliases;
    return aliases;
}

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string clip31(std::string s) {
    if (s.size() > 31) s.resize(31);
    return s;
}

}  // namespace

Database::Database(std::string alias) : alias_(std::move(alias)) {}
Database::~Database() = default;

void Database::setConfig(AliasConfig config) {
    disconnect();
    config_ = std::move(config);
}

const AliasConfig& Database::config() {
    if (!config_) config_ = findAliasConfig(alias_);
    return *config_;
}

Driver& Database::connection() {
    if (driver_) return *driver_;
    const AliasConfig& cfg = config();
    if (!cfg.userName.empty()) {
        LoginRequest login{clip31(alias_), clip31(cfg.userName), {}};
        const bool accepted = loginHandler() && loginHandler()(login);
        if (!accepted) throw DatabaseError("Cannot connect to database '" + alias_ + "'");
        login.userName = clip31(login.userName);
        login.password = clip31(login.password);
        driver_ = openDriver(cfg, &login);
    } else {
        driver_ = openDriver(cfg, nullptr);
    }
    return *driver_;
}

void Database::disconnect() { driver_.reset(); }

Database& databaseForAlias(const std::string& alias) {
    auto& slot = registry()[upper(alias)];
    if (!slot) slot = std::make_unique<Database>(alias);
    return *slot;
}

void setLoginHandler(LoginHandler handler) { loginHandler() = std::move(handler); }

void resetDatabases() { registry().clear(); }

}  // namespace engine
