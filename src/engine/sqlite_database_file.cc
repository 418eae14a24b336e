#include "sqlite_database_file.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "error.h"
#include "file_kind.h"

namespace engine {
namespace {

// The bytes that SQLite locks. In the database file: its pending, reserved and shared
// bytes at 1 GiB; in WAL mode every open connection holds a lock there. In the "-shm"
// file: its eight lock bytes and the byte that every connection using the file keeps
// locked while it does.
constexpr off_t kDatabaseLockBytes = 0x40000000;
constexpr off_t kDatabaseLockLength = 512;
constexpr off_t kJournalIndexLockBytes = 120;
constexpr off_t kJournalIndexLockLength = 9;

// The first 16 bytes of every SQLite database file (with the terminating zero).
constexpr char kHeader[] = "SQLite format 3";

// Whether anyone holds a lock on the bytes of the open file: with F_OFD_GETLK this
// process's own POSIX locks count too, with F_GETLK only other processes' locks do.
bool locked(int fd, off_t start, off_t length, int command = F_OFD_GETLK) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = start;
    probe.l_len = length;
    return ::fcntl(fd, command, &probe) == 0 && probe.l_type != F_UNLCK;
}

std::string userName(uid_t uid) {
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->pw_name;
    return std::to_string(uid);
}

std::string groupName(gid_t gid) {
    std::vector<char> buffer(16384);
    group entry {};
    group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->gr_name;
    return std::to_string(gid);
}

std::string mayNotWrite(const std::string& path, const struct stat& info) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    const bool readable = ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0;
    return "the user " + userName(::geteuid()) + " may not " + (readable ? "write" : "read or write") +
           " the database file " + path + " (owner " + userName(info.st_uid) + ", group " + groupName(info.st_gid) +
           ", mode " + mode + "), and the programs write their work table there";
}

// Checks the file at `path` and opens it for reading and writing; see the constructor.
int openChecked(const std::string& path, const std::string& alias) {
    const auto refused = [&](const std::string& why) {
        return DatabaseError("Cannot open database '" + alias + "': " + why);
    };
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        // The program never creates a database: a path that names no file is a mistake of
        // the alias (the demo database is made by its own tool).
        if (errno == ENOENT || errno == ENOTDIR) throw refused("the database file " + path + " was not found");
        throw refused("the database file " + path + " cannot be reached: " + std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) throw refused(path + " is " + specialFileKind(info.st_mode) + ", not a database file");
    // SQLite keeps its "-wal" and "-shm" files beside the name that the file is opened by:
    // copies that reach one file by two names (hard links) would not see each other's
    // changes and would damage the file. (A symbolic link is followed to the one name.)
    if (info.st_nlink > 1)
        throw refused("the database file " + path + " has " + std::to_string(info.st_nlink) +
                      " names (hard links), and copies that open it by different names would not see each "
                      "other's changes; give it one name (symbolic links may point to it)");
    // SQLite would take an empty file for a new database and write one into it.
    if (info.st_size == 0) throw refused("the database file " + path + " is empty (0 bytes), so it holds no database");
    // A user who may only read would leave "-wal" and "-shm" files of his own, which the
    // clerks who may write could not use.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM) throw refused(mayNotWrite(path, info));
        if (errno == EROFS)
            throw refused("the database file " + path +
                          " lies on a read-only file system, and the programs write their work table there");
        throw refused("the database file " + path + " cannot be opened: " + std::strerror(errno));
    }
    char header[sizeof kHeader];
    if (::pread(fd, header, sizeof header, 0) != static_cast<ssize_t>(sizeof header) ||
        std::memcmp(header, kHeader, sizeof header) != 0) {
        ::close(fd);
        throw refused("the file " + path + " is not an SQLite database");
    }
    return fd;
}

}  // namespace

SqliteDatabaseFile::Descriptor::~Descriptor() {
    if (fd >= 0) ::close(fd);
}

SqliteDatabaseFile::SqliteDatabaseFile(const std::string& path, const std::string& alias)
    : path_(path), alias_(alias), file_(openChecked(path, alias)), lock_(file_.fd, path) {
    struct stat info {};
    ::fstat(file_.fd, &info);
    device_ = info.st_dev;
    inode_ = info.st_ino;
    refuseJournalOfAnotherFile();
}

// A "-shm" file in use means copies have a database of that name open, and each of them
// holds a lock on its database file. When nobody holds one on this file, the copies using
// the "-shm" file opened another file: one that stood at the path before.
void SqliteDatabaseFile::refuseJournalOfAnotherFile() {
    char resolved[PATH_MAX];
    if (!::realpath(path_.c_str(), resolved)) return;  // SQLite names its files after the resolved path
    const std::string name = resolved;
    journalIndex_.fd = ::open((name + "-shm").c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (journalIndex_.fd < 0) return;  // none, or one this user may not read (SQLite then says so)
    if (!locked(journalIndex_.fd, kJournalIndexLockBytes, kJournalIndexLockLength) ||
        locked(file_.fd, kDatabaseLockBytes, kDatabaseLockLength))
        return;
    throw DatabaseError("Cannot open database '" + alias_ + "': its journal files " + name + "-wal and -shm are " +
                        "still in use by copies of the programs that opened the file which stood at " + path_ +
                        " before it was moved or replaced; the file can be opened once those copies have let go " +
                        "of it (at their next request, or when they close)");
}

bool SqliteDatabaseFile::openElsewhere() const {
    return locked(file_.fd, kDatabaseLockBytes, kDatabaseLockLength, F_GETLK);
}

std::string SqliteDatabaseFile::movedAway() const {
    struct stat now {};
    if (::stat(path_.c_str(), &now) == 0 && now.st_dev == device_ && now.st_ino == inode_) return {};
    return "The database file " + path_ +
           " was moved, replaced or deleted while the program had it open; the program has let go of it, and "
           "the next request opens the file that stands there now";
}

}  // namespace engine
