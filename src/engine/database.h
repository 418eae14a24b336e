// The connection behind a database alias. It opens at the first statement that
// needs it and stays open until the program ends (or a test resets it). A connection
// that the server or the network broke is opened again at the next request.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "alias_config.h"
#include "driver.h"

namespace engine {

class DatabaseLock;

// What the login dialog shows and returns. Each text holds at most 31 characters.
struct LoginRequest {
    std::string database;  // the alias
    std::string userName;  // prefilled from the configuration
    std::string password;  // filled in by the user
};

// Returns false when the user cancels; may change userName and fill password.
using LoginHandler = std::function<bool(LoginRequest&)>;

// The first `count` characters (not bytes) of UTF-8 text.
std::string firstCharacters(const std::string& text, size_t count);

class Database {
public:
    explicit Database(std::string alias);
    ~Database();

    const std::string& alias() const { return alias_; }

    // The configuration used when the connection opens; found by findAliasConfig()
    // unless set here first.
    void setConfig(AliasConfig config);
    const AliasConfig& config();

    // The connection, opened on first use. Throws DatabaseError when it cannot open
    // ("Cannot connect to database 'Account'" when the login is cancelled).
    //
    // A connection found broken is opened again, with the login given before (kept in
    // memory only), unless this process holds the database guard: a request that met
    // the break ends with the error, and the next request connects again.
    //
    // An SQLite file that was moved, replaced or deleted since it was opened (checked at
    // every call): the connections close and the call fails saying so; within the guard
    // every further call fails alike until the guard ends, and the next request opens
    // the file that stands at the path then.
    Driver& connection();
    bool connected() const { return driver_ != nullptr; }
    // True when the open connection was broken by the server or the network.
    bool connectionBroken() const;
    void disconnect();

    // The message of a statement that failed because the connection broke.
    std::string lostConnectionMessage(const std::string& serverMessage) const;

private:
    friend class DatabaseGuard;

    void open();

    std::string alias_;
    std::optional<AliasConfig> config_;
    std::optional<LoginRequest> acceptedLogin_;
    std::unique_ptr<Driver> driver_;
    // The database guard (database_guard.h): how often this process holds it, and the
    // backend's lock while it does.
    int guardDepth_ = 0;
    std::unique_ptr<DatabaseLock> guardLock_;
    std::string movedAway_;  // why the connection was let go of within the guard
};

// The process-wide registry of aliases: every query naming "Account" shares one Database.
Database& databaseForAlias(const std::string& alias);

// The handler asked for a login when an alias's configuration has a user name.
// Without one, such a connection fails as if the login had been cancelled.
void setLoginHandler(LoginHandler handler);

// Forget every connection and configuration (tests, program end).
void resetDatabases();

}  // namespace engine
