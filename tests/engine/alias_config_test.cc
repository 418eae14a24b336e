#include <gtest/gtest.h>

#include "engine/alias_config.h"
#include "engine/error.h"

using engine::parseAliasConfig;

TEST(AliasConfig, ReadsSqliteAndServerSections) {
    const std::string ini =
        "; comment\n[Other]\ndriver=postgres\n\n[account]\nDriver = sqlite\npath = /tmp/x.db\n";
    auto cfg = parseAliasConfig(ini, "Account");
    ASSERT_TRUE(cfg);
    EXPECT_EQ(cfg->driver, "sqlite");
    EXPECT_EQ(cfg->path, "/tmp/x.db");
    EXPECT_TRUE(cfg->userName.empty());

    auto pg = parseAliasConfig("[Account]\ndriver=postgresql\nhost=127.0.0.1\nport=5433\n"
                               "database=acct\nuser=clerk\npassword=secret\n",
                               "Account");
    ASSERT_TRUE(pg);
    EXPECT_EQ(pg->driver, "postgres");
    EXPECT_EQ(pg->host, "127.0.0.1");
    EXPECT_EQ(pg->port, 5433);
    EXPECT_EQ(pg->databaseName, "acct");
    EXPECT_EQ(pg->userName, "clerk");
}

TEST(AliasConfig, MissingSectionAndBadValues) {
    EXPECT_FALSE(parseAliasConfig("[Other]\npath=x\n", "Account"));
    EXPECT_THROW(parseAliasConfig("[Account]\ndriver=oracle\n", "Account"), engine::DatabaseError);
    EXPECT_THROW(parseAliasConfig("[Account]\nport=70000\n", "Account"), engine::DatabaseError);
}

TEST(AliasConfig, EnvironmentFileWinsAndDefaultIsPerUser) {
    ::setenv("MORVEL_ALIAS_CONFIG", "/nonexistent/alias.ini", 1);
    EXPECT_THROW(engine::findAliasConfig("Account"), engine::DatabaseError);
    ::unsetenv("MORVEL_ALIAS_CONFIG");
    ::setenv("XDG_CONFIG_HOME", "/nonexistent-config", 1);
    ::setenv("XDG_DATA_HOME", "/tmp/morvel-data", 1);
    const auto cfg = engine::findAliasConfig("Account");
    EXPECT_EQ(cfg.driver, "sqlite");
    EXPECT_EQ(cfg.path, "/tmp/morvel-data/morvel/account.db");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DATA_HOME");
}
