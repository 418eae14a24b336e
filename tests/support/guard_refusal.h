// The database guard of "Account" refused because another holder keeps it: waits the
// guard's wait (shortened here), not much longer, and then fails with DatabaseBusy.
#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "engine/database_guard.h"

inline void expectGuardRefusedAfterTheWait() {
    using namespace std::chrono_literals;
    engine::setGuardWait(300ms);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(engine::DatabaseGuard guard, engine::DatabaseBusy);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 2s);
    engine::setGuardWait(3s);
}
