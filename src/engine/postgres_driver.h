// The PostgreSQL backend: the shared server for several users.
#pragma once

#include <memory>

#include "driver.h"

namespace engine {

struct AliasConfig;
struct LoginRequest;

// Connects to the server the configuration names, with the login's credentials when
// given. Throws DatabaseError with the server's message when it cannot connect.
std::unique_ptr<Driver> openPostgresDriver(const AliasConfig& config, const LoginRequest* login);

}  // namespace engine
