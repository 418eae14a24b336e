#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>

#include "engine/alias_config.h"
#include "engine/database.h"
#include "engine/error.h"
#include "engine/query.h"

using engine::parseAliasConfig;

namespace {

// A folder of its own that holds the alias files of one test; the look-up's environment
// is put back afterwards.
class AliasFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("morvel_alias_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "config" / "morvel");
        ::unsetenv("MORVEL_ALIAS_CONFIG");
        ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("MORVEL_ALIAS_CONFIG");
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
        engine::resetDatabases();
        std::filesystem::remove_all(folder_);
    }

    // Writes the user's own alias file (~/.config/morvel/alias.ini) and returns its path.
    std::string writeUserFile(const std::string& text) {
        const std::string path = (folder_ / "config" / "morvel" / "alias.ini").string();
        std::ofstream(path) << text;
        return path;
    }

    // The message of the look-up's failure ("no error" when it finds a configuration).
    static std::string lookUpError() {
        try {
            engine::findAliasConfig("Account");
        } catch (const engine::DatabaseError& e) {
            return e.what();
        }
        return "no error";
    }

    std::filesystem::path folder_;
};

}  // namespace

TEST(AliasConfig, ReadsSqliteAndServerSections) {
    const std::string ini =
        "; comment\n[Other]\ndriver=postgres\n\n[account]\nDriver = sqlite\npath = /tmp/x.db\n";
    auto cfg = parseAliasConfig(ini, "Account");
    ASSERT_TRUE(cfg);
    EXPECT_EQ(cfg->driver, "sqlite");
    EXPECT_EQ(cfg->path, "/tmp/x.db");
    EXPECT_TRUE(cfg->userName.empty());
    EXPECT_FALSE(cfg->asksLogin());

    auto pg = parseAliasConfig("[Account]\ndriver=postgresql\nhost=127.0.0.1\nport=5433\n"
                               "database=acct\nuser=clerk\npassword=secret\n",
                               "Account");
    ASSERT_TRUE(pg);
    EXPECT_EQ(pg->driver, "postgres");
    EXPECT_EQ(pg->host, "127.0.0.1");
    EXPECT_EQ(pg->port, 5433);
    EXPECT_EQ(pg->databaseName, "acct");
    EXPECT_EQ(pg->userName, "clerk");
    EXPECT_TRUE(pg->asksLogin());
}

TEST(AliasConfig, AnEmptyUserNameStillAsksForTheLogin) {
    auto cfg = parseAliasConfig("[Account]\npath = /tmp/x.db\nuser =\n", "Account");
    ASSERT_TRUE(cfg);
    EXPECT_EQ(cfg->userName, "");
    EXPECT_TRUE(cfg->asksLogin());
}

TEST(AliasConfig, AByteOrderMarkIsSkippedAndTildeNameIsThatUsersHomeFolder) {
    const auto cfg = parseAliasConfig("\xEF\xBB\xBF[Account]\npath = ~root/acc.db\n", "Account");
    ASSERT_TRUE(cfg);
    EXPECT_EQ(cfg->path, std::string(::getpwnam("root")->pw_dir) + "/acc.db");
    EXPECT_THROW(parseAliasConfig("[Account]\npath = ~nosuchmorvelclerk/a.db\n", "Account"), engine::DatabaseError);
}

TEST(AliasConfig, MissingSectionAndBadValues) {
    EXPECT_FALSE(parseAliasConfig("[Other]\npath=x\n", "Account"));
    EXPECT_THROW(parseAliasConfig("[Account]\ndriver=oracle\n", "Account"), engine::DatabaseError);
    EXPECT_THROW(parseAliasConfig("[Account]\npath=x\nport=70000\n", "Account"), engine::DatabaseError);
}

TEST_F(AliasFiles, OnlyWhereNoAliasFileExistsDoesTheBuiltInDefaultServe) {
    const auto cfg = engine::findAliasConfig("Account");
    EXPECT_EQ(cfg.driver, "sqlite");
    EXPECT_EQ(cfg.path, (folder_ / "data" / "morvel" / "account.db").string());

    ::setenv("MORVEL_ALIAS_CONFIG", (folder_ / "nonexistent.ini").c_str(), 1);
    EXPECT_NE(lookUpError().find("nonexistent.ini cannot be read"), std::string::npos) << lookUpError();
}

TEST_F(AliasFiles, AFileThatDoesNotSayWhereTheDatabaseIsNamesItselfAndWhatIsMissing) {
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"[Account]\ndriver = sqlite\n", "section [Account] has no 'path' (the SQLite database file)"},
        {"[Account]\ndriver = sqlite\npath =\n", "section [Account] has an empty 'path'"},
        {"[Account]\ndriver = sqlite\nfile = /srv/account.db\n", "has a key it does not know: 'file'"},
        {"[Account]\npath = /srv/a.db\nprot = 5433\nusr = clerk\n", "has keys it does not know: 'prot', 'usr'"},
        {"[Acount]\ndriver = sqlite\npath = /srv/account.db\n", "has no section [Account]"},
        {"", "has no section [Account], so it does not say where the database is (it has no section at all)"},
        {"[Account]\ndriver = postgres\nhost = db.example\n", "has no 'database' (the database name on the server)"},
        {"[Account]\ndriver = postgres\ndatabase = acct\n", "has no 'host' (the PostgreSQL server)"},
        {"[Account]\ndriver = postgres\nhost =\ndatabase = acct\n", "has an empty 'host'"},
        {"[Account]\npath = /srv/a.db\ndatabase path = /srv/b.db\n", "section [Account] gives 'path' twice"},
        {"[Account]\npath = /srv/a.db\n[account]\npath = /srv/b.db\n", "has the section [Account] twice"},
    };
    for (const Case& c : cases) {
        // The user's own file and the file the environment names fail alike.
        const std::string userFile = writeUserFile(c.text);
        const std::string message = lookUpError();
        EXPECT_EQ(message.rfind("Alias file " + userFile, 0), 0u) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;

        const std::string named = (folder_ / "named.ini").string();
        std::filesystem::copy_file(userFile, named, std::filesystem::copy_options::overwrite_existing);
        ::setenv("MORVEL_ALIAS_CONFIG", named.c_str(), 1);
        EXPECT_EQ(lookUpError().rfind("Alias file " + named, 0), 0u) << lookUpError();
        ::unsetenv("MORVEL_ALIAS_CONFIG");
    }
    writeUserFile("[Acount]\npath = /srv/account.db\n");
    EXPECT_NE(lookUpError().find("(its sections: [Acount])"), std::string::npos) << lookUpError();
}

TEST_F(AliasFiles, ALinkToNothingAFifoOrALargeFileIsAnErrorNamingTheFile) {
    using namespace std::chrono_literals;
    const std::string userFile = (folder_ / "config" / "morvel" / "alias.ini").string();
    const std::string unmounted = (folder_ / "share" / "alias.ini").string();
    std::filesystem::create_symlink(unmounted, userFile);
    EXPECT_EQ(lookUpError(), "Alias file " + userFile +
                                 " cannot be read: No such file or directory (it is a symbolic link to " + unmounted +
                                 ")");
    std::filesystem::remove(userFile);
    ASSERT_EQ(::mkfifo(userFile.c_str(), 0600), 0);
    auto lookUp = std::async(std::launch::async, lookUpError);
    if (lookUp.wait_for(5s) != std::future_status::ready) ::close(::open(userFile.c_str(), O_WRONLY));  // hangs
    EXPECT_EQ(lookUp.get(), "Alias file " + userFile + " is a FIFO, not a text file of the alias's settings");
    std::filesystem::remove(userFile);
    writeUserFile("[Account]\npath = /srv/a.db\n");
    std::filesystem::resize_file(userFile, 300 << 20);  // sparse: it takes no room
    EXPECT_NE(lookUpError().find(userFile + " is larger than 64 KiB"), std::string::npos) << lookUpError();
}

TEST_F(AliasFiles, TheFirstStatementFailsWithTheFilesMessageAndOpensNoDatabase) {
    // The built-in default database exists: a broken alias file must not fall back to it.
    const std::string demo = (folder_ / "data" / "morvel" / "account.db").string();
    std::filesystem::create_directories(std::filesystem::path(demo).parent_path());
    std::ofstream(demo).flush();
    const std::string userFile = writeUserFile("[Account]\ndriver = sqlite\npath =\n");
    engine::resetDatabases();
    engine::Query query;
    query.setText("select 1");
    try {
        query.open();
        FAIL() << "the statement ran on " << engine::databaseForAlias("Account").config().path;
    } catch (const engine::DatabaseError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Alias file " + userFile + ": section [Account] has an empty 'path'", 0),
                  0u)
            << e.what();
    }
}
