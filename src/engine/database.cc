#include "database.h"

#include <map>

#include "database_guard.h"
#include "error.h"

namespace engine {
namespace {

constexpr size_t kLoginFieldLength = 31;

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

std::string clipped(const std::string& s) { return firstCharacters(s, kLoginFieldLength); }

// The first line of a backend's message, without trailing blanks or full stops.
std::string firstLine(const std::string& message) {
    std::string line = message.substr(0, message.find('\n'));
    while (!line.empty() && (line.back() == ' ' || line.back() == '.' || line.back() == '\r')) line.pop_back();
    return line;
}

}  // namespace

std::string firstCharacters(const std::string& text, size_t count) {
    size_t end = 0;
    for (size_t characters = 0; end < text.size() && characters < count; ++characters) {
        // A UTF-8 character is its lead byte and the continuation bytes (10xxxxxx) after it.
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    }
    return text.substr(0, end);
}

Database::Database(std::string alias) : alias_(std::move(alias)) {}

Database::~Database() { disconnect(); }

void Database::setConfig(AliasConfig config) {
    disconnect();
    acceptedLogin_.reset();
    config_ = std::move(config);
}

const AliasConfig& Database::config() {
    if (!config_) config_ = findAliasConfig(alias_);
    return *config_;
}

Driver& Database::connection() {
    if (driver_ && driver_->broken()) {
        if (guardDepth_ > 0) throw DatabaseError(lostConnectionMessage("no connection to the server"));
        disconnect();
    }
    if (!driver_ && guardDepth_ > 0) throw DatabaseError(movedAway_);  // let go of within this guard
    if (!driver_) open();
    if (const std::string moved = driver_->movedAway(); !moved.empty()) {
        // The connections close; the last copy to close the old file writes its log into it
        // and removes the "-wal" and "-shm" files, so that nothing of them is left for the
        // file that stands there now. Within the guard nothing runs on that file: the
        // guard's lock was the old file's.
        guardLock_.reset();
        driver_.reset();
        movedAway_ = moved;
        throw DatabaseError(moved);
    }
    return *driver_;
}

void Database::open() {
    const AliasConfig& cfg = config();
    if (!cfg.asksLogin()) {
        driver_ = openDriver(cfg, nullptr);
        return;
    }
    if (acceptedLogin_) {
        // Connecting again after a break: the login the user gave is still in memory.
        driver_ = openDriver(cfg, &*acceptedLogin_);
        return;
    }
    LoginRequest login{clipped(alias_), clipped(cfg.userName), {}};
    const bool accepted = loginHandler() && loginHandler()(login);
    if (!accepted) throw DatabaseError("Cannot connect to database '" + alias_ + "'");
    login.userName = clipped(login.userName);
    login.password = clipped(login.password);
    driver_ = openDriver(cfg, &login);
    acceptedLogin_ = std::move(login);
}

bool Database::connectionBroken() const { return driver_ && driver_->broken(); }

void Database::disconnect() {
    // The guard's lock belongs to the connection (PostgreSQL) or goes with it (SQLite).
    guardLock_.reset();
    guardDepth_ = 0;
    driver_.reset();
}

std::string Database::lostConnectionMessage(const std::string& serverMessage) const {
    return "The connection to database '" + alias_ + "' was lost (" + firstLine(serverMessage) +
           "); the next request connects again";
}

Database& databaseForAlias(const std::string& alias) {
    auto& slot = registry()[upper(alias)];
    if (!slot) slot = std::make_unique<Database>(alias);
    return *slot;
}

void setLoginHandler(LoginHandler handler) { loginHandler() = std::move(handler); }

void resetDatabases() { registry().clear(); }

}  // namespace engine
