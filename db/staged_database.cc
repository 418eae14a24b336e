#include "staged_database.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace demo {
namespace {

// The temporary file and the files SQLite keeps beside it, removed by the signal handler.
constexpr const char* kCompanions[] = {"", "-wal", "-shm", "-journal"};
constexpr int kFiles = 4;
char removedOnSignal[kFiles][4096];
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[3];

void removeAndEnd(int signal) {
    for (auto& file : removedOnSignal) ::unlink(file);  // async-signal-safe
    ::signal(signal, SIG_DFL);
    ::raise(signal);  // ends the program as the signal would have
}

void removeFiles(const std::string& path) {
    for (const char* suffix : kCompanions) std::remove((path + suffix).c_str());
}

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what + ": " + std::strerror(errno)); }

}  // namespace

StagedDatabase::StagedDatabase(const std::string& finalPath) : final_(finalPath), partial_(finalPath + ".partial") {
    lock_ = ::open(partial_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock_ < 0) fail("cannot create " + partial_);
    if (::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock_);
        if (errno == EWOULDBLOCK) throw std::runtime_error("another run is writing " + final_ + " (" + partial_ + ")");
        fail("cannot lock " + partial_);
    }
    // What a killed run left goes; the books are readable by their owner only.
    for (int i = 1; i < kFiles; ++i) std::remove((partial_ + kCompanions[i]).c_str());
    if (::ftruncate(lock_, 0) != 0 || ::fchmod(lock_, 0600) != 0) fail("cannot empty " + partial_);
    for (int i = 0; i < kFiles; ++i)
        std::snprintf(removedOnSignal[i], sizeof removedOnSignal[i], "%s%s", partial_.c_str(), kCompanions[i]);
    struct sigaction remove {};
    remove.sa_handler = removeAndEnd;
    sigemptyset(&remove.sa_mask);
    for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &remove, &previous[i]);
}

StagedDatabase::~StagedDatabase() {
    for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &previous[i], nullptr);
    if (!committed_) removeFiles(partial_);
    ::close(lock_);
}

void StagedDatabase::commit() {
    // A database closed cleanly has written everything into its own file.
    struct stat info {};
    if (::stat((partial_ + "-wal").c_str(), &info) == 0 && info.st_size > 0)
        throw std::runtime_error(partial_ + " was not closed cleanly");
    for (const char* suffix : {"-wal", "-shm"}) std::remove((final_ + suffix).c_str());
    if (::rename(partial_.c_str(), final_.c_str()) != 0) fail("cannot move " + partial_ + " to " + final_);
    removeFiles(partial_);  // the empty companions SQLite may have left
    committed_ = true;
}

}  // namespace demo
