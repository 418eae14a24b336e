// One SQLite file that copies reach by different names (a symbolic link in another
// folder) and that several clerks, users of one group, share: the file has one guard
// whatever its name, no copy shows a wrong total, and no clerk's run locks another clerk
// out.
#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "copy_process.h"
#include "engine/database_guard.h"
#include "guard_refusal.h"
#include "shared_books.h"

namespace {

using namespace std::chrono_literals;
using copies::CopyProcess;
using copies::SharedBooks;
using test_backends::Backend;
namespace fs = std::filesystem;

// A folder of its own beside the books' folder, holding a symbolic link to the books'
// file.
class OtherName {
public:
    explicit OtherName(const std::string& path)
        : folder_(fs::temp_directory_path() / ("morvel_names_" + std::to_string(::getpid()) + "_" +
                                               std::to_string(++counter_))) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::create_symlink(path, folder_ / "link.db");
    }
    ~OtherName() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    OtherName(const OtherName&) = delete;
    OtherName& operator=(const OtherName&) = delete;

    std::string path() const { return (folder_ / "link.db").string(); }

private:
    fs::path folder_;
    static inline int counter_ = 0;
};

TEST(OneFileByManyNames, TheGuardHeldThroughALinkRefusesTheFilesOwnPathWithinTheWait) {
    SharedBooks books(Backend::SQLite);  // this process reaches the file by its own path
    OtherName link(books.path());
    CopyProcess holder({"hold", "60"}, books.aliasFileFor(link.path()));
    ASSERT_EQ(holder.readLine(30s).value_or("no line"), "held");
    expectGuardRefusedAfterTheWait();
    holder.kill();
    EXPECT_NO_THROW(engine::DatabaseGuard guard);
}

TEST(OneFileByManyNames, FourCopiesEverySecondThroughASymbolicLinkShowNoWrongTotal) {
    constexpr int kRounds = 4;
    SharedBooks books(Backend::SQLite);
    OtherName link(books.path());
    const std::string alone = books.aloneRows();
    ASSERT_EQ(alone.rfind("rows ", 0), 0u) << alone;
    const std::string viaLink = books.aliasFileFor(link.path());

    std::vector<std::unique_ptr<CopyProcess>> running;
    for (int c = 0; c < 4; ++c)
        running.push_back(std::make_unique<CopyProcess>(std::vector<std::string>{"run", std::to_string(kRounds)},
                                                        c % 2 ? viaLink : books.aliasFile()));
    int lines = 0, correct = 0, refused = 0;
    for (auto& copy : running) {
        for (const std::string& line : copy->readAll(120s)) {
            ++lines;
            if (line == alone) ++correct;
            else if (line == "refused") ++refused;
            else ADD_FAILURE() << "a wrong result: " << line << " (alone: " << alone << ")";
        }
    }
    EXPECT_EQ(lines, 4 * kRounds);
    EXPECT_GT(correct, 0);
    std::printf("[ figures  ] 4 copies, every second through a symbolic link, x %d rounds: %d correct, %d refused, "
                "%d wrong\n",
                kRounds, correct, refused, lines - correct - refused);
    EXPECT_TRUE(copies::neutral());
}

// Runs a command of the system quietly; true when it succeeded.
bool quietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Two users made for one test, each with a group of its own (as new users get) and both
// members of a third group, the clerks' group; removed again when the test ends, however
// it ends. The names carry the process id, so tests running at the same time do not meet.
class ThrowAwayClerks {
public:
    ThrowAwayClerks() : prefix_("morvel" + std::to_string(::getpid())) {
        removeAll();  // left by an earlier test process of the same id
        const std::string addUser = "useradd -M -U -s /usr/sbin/nologin -G " + group() + " ";
        made_ = quietly("groupadd " + group()) && quietly(addUser + first()) && quietly(addUser + second());
    }
    ~ThrowAwayClerks() { removeAll(); }
    ThrowAwayClerks(const ThrowAwayClerks&) = delete;
    ThrowAwayClerks& operator=(const ThrowAwayClerks&) = delete;

    bool made() const { return made_; }
    std::string group() const { return prefix_ + "clerks"; }
    std::string first() const { return prefix_ + "a"; }
    std::string second() const { return prefix_ + "b"; }
    gid_t groupId() const {
        const struct group* entry = ::getgrnam(group().c_str());
        return entry ? entry->gr_gid : 0;
    }

    static copies::Clerk clerk(const std::string& name) {
        copies::Clerk clerk;
        const passwd* user = ::getpwnam(name.c_str());
        if (!user) return clerk;
        clerk.uid = user->pw_uid;
        clerk.group = user->pw_gid;
        int count = 16;
        clerk.groups.resize(static_cast<size_t>(count));
        if (::getgrouplist(name.c_str(), clerk.group, clerk.groups.data(), &count) < 0) count = 0;
        clerk.groups.resize(static_cast<size_t>(count));
        return clerk;
    }

private:
    void removeAll() {
        for (const std::string& user : {first(), second()}) {
            quietly("userdel " + user);
            quietly("groupdel " + user);
        }
        quietly("groupdel " + group());
    }

    std::string prefix_;
    bool made_ = false;
};

// The names of the files in the folder that do not belong to the group.
std::string filesNotOfGroup(const fs::path& folder, gid_t group) {
    std::string names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) == 0 && info.st_gid != group)
            names += entry.path().filename().string() + " ";
    }
    return names;
}

// The books' folder and file given to `group` with the modes given, and the program
// copied there for the clerks (the build may sit in root's own folder).
fs::path handOver(const SharedBooks& books, gid_t group, mode_t folderMode, mode_t fileMode) {
    const fs::path folder = fs::path(books.path()).parent_path();
    const fs::path program = folder / "morvel_copy";
    fs::copy_file(MORVEL_COPY_PROGRAM, program);
    const bool done = ::chown(program.c_str(), 0, group) == 0 && ::chown(folder.c_str(), 0, group) == 0 && ::chmod(folder.c_str(), folderMode) == 0 &&
                      ::chown(books.path().c_str(), 0, group) == 0 && ::chmod(books.path().c_str(), fileMode) == 0 &&
                      ::chmod(program.c_str(), 0755) == 0;
    return done ? program : fs::path();
}

// The one line of one run by `clerk`.
std::string runAs(const SharedBooks& books, const copies::Clerk& clerk, const fs::path& program) {
    CopyProcess copy({"run", "1"}, books.aliasFile(), &clerk, program.string());
    const auto lines = copy.readAll(60s);
    return lines.size() == 1 ? lines[0] : "no single line";
}

// Two clerks of one group work on one SQLite file in a folder that the group may write
// but that has no setgid bit, so that every file a clerk makes there gets the clerk's own
// group: the second clerk's runs succeed after the first clerk's, while the first
// clerk's window is open, and after the first clerk's program was killed.
TEST(SharedSqliteFile, ASecondClerkOfTheGroupWorksAfterAndBesideTheFirst) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root: makes two throw-away users in a throw-away group";
    ThrowAwayClerks clerks;
    if (!clerks.made()) GTEST_SKIP() << "groupadd or useradd could not make the throw-away users";
    SharedBooks books(Backend::SQLite);
    const gid_t group = clerks.groupId();
    const fs::path folder = fs::path(books.path()).parent_path();
    const fs::path program = handOver(books, group, 0770, 0660);
    ASSERT_FALSE(program.empty());
    const std::string alone = books.aloneRows();
    ASSERT_EQ(alone.rfind("rows ", 0), 0u) << alone;

    const copies::Clerk first = ThrowAwayClerks::clerk(clerks.first());
    const copies::Clerk second = ThrowAwayClerks::clerk(clerks.second());
    ASSERT_NE(first.uid, 0u);
    ASSERT_NE(second.uid, 0u);

    EXPECT_EQ(runAs(books, first, program), alone);
    EXPECT_EQ(runAs(books, second, program), alone) << "after the first clerk's run";
    {
        CopyProcess open({"idle", "60"}, books.aliasFile(), &first, program.string());
        ASSERT_EQ(open.readLine(30s).value_or("no line"), "open");
        EXPECT_EQ(runAs(books, second, program), alone) << "while the first clerk's window is open";
        EXPECT_EQ(filesNotOfGroup(folder, group), "");
        open.kill();
    }
    EXPECT_EQ(runAs(books, second, program), alone) << "after the first clerk's program was killed";
    EXPECT_EQ(filesNotOfGroup(folder, group), "");
}

// A clerk who may read the file but not write it is told so before SQLite makes "-wal"
// and "-shm" files of his own beside it, which would lock out the clerks who may write.
TEST(SharedSqliteFile, AClerkWhoMayOnlyReadIsToldSoAndLeavesNoFiles) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root: makes two throw-away users";
    ThrowAwayClerks clerks;
    if (!clerks.made()) GTEST_SKIP() << "groupadd or useradd could not make the throw-away users";
    SharedBooks books(Backend::SQLite);
    const std::string alone = books.aloneRows();
    test_backends::releaseAlias();
    const copies::Clerk writer = ThrowAwayClerks::clerk(clerks.first());
    const copies::Clerk reader = ThrowAwayClerks::clerk(clerks.second());  // not of the writer's own group
    const fs::path program = handOver(books, writer.group, 0777, 0664);
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(runAs(books, reader, program),
              "error Cannot open database 'Account': the user " + clerks.second() + " may not write the database file " +
                  books.path() + " (owner root, group " + clerks.first() +
                  ", mode 0664), and the programs write their work table there.");
    EXPECT_EQ(filesNotOfGroup(fs::path(books.path()).parent_path(), writer.group), "");
    EXPECT_EQ(runAs(books, writer, program), alone);
}

// The stock sqlite3 tool's answer to one statement on the file.
std::string stockSqlite(const std::string& path, const std::string& sql) {
    std::FILE* tool = ::popen(("sqlite3 '" + path + "' '" + sql + "' 2>&1").c_str(), "r");
    std::string out(4096, '\0');
    out.resize(std::fread(out.data(), 1, out.size(), tool));
    ::pclose(tool);
    return out.substr(0, out.find_last_not_of('\n') + 1);
}

// An administrator moves a backup over the file while a window has it open and another
// copy has written to it: no copy writes the old file's log into the new one, and the
// window shows nothing more of the old file.
TEST(SharedSqliteFile, ABackupMovedOverTheFileWhileCopiesHaveItOpenStaysWhole) {
    SharedBooks books(Backend::SQLite);
    const std::string path = books.path();
    const std::string alone = books.aloneRows();
    test_backends::releaseAlias();  // this process lets go of the file: a plain copy is whole
    fs::copy_file(path, path + ".backup");
    const std::string lines = stockSqlite(path, "SELECT count(*) FROM ACCOUNT_JEN_AA");
    stockSqlite(path, "INSERT INTO ACCOUNT_JEN_AA SELECT * FROM ACCOUNT_JEN_AA");  // the file moves on
    CopyProcess window({"idle", "60"}, books.aliasFile());
    ASSERT_EQ(window.readLine(30s).value_or("no line"), "open");
    EXPECT_EQ(books.aloneRows().rfind("rows ", 0), 0u);  // the old file's log now holds this copy's pages
    fs::copy_file(path + ".backup", path + ".new");
    fs::rename(path + ".new", path);

    const std::string third = books.aloneRows();
    EXPECT_NE(third.find(" are still in use by copies of the programs that opened the file which stood at " + path),
              std::string::npos)
        << third;
    window.proceed();
    EXPECT_EQ(window.readLine(60s).value_or("no line"),
              "error The database file " + path + " was moved, replaced or deleted while the program had it open; " +
                  "the program has let go of it, and the next request opens the file that stands there now.");
    EXPECT_TRUE(window.waitForExit(30s));
    EXPECT_FALSE(fs::exists(path + "-wal"));  // the old file's log went with it
    EXPECT_EQ(books.aloneRows(), alone);
    EXPECT_EQ(stockSqlite(path, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(stockSqlite(path, "SELECT count(*) FROM ACCOUNT_JEN_AA"), lines);
}

}  // namespace
