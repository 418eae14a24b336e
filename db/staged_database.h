// A database file that is written under a temporary name in its folder
// ("<name>.partial") and moved to its own name only when it is complete, so that an
// interrupted run leaves no half-made database that later starts would take for the real
// one. One run at a time holds the temporary file (a lock on it); a temporary file that no
// run holds is what a killed run left, and is started afresh. Ctrl+C (SIGINT), SIGTERM
// and SIGHUP while the file is written remove it before the program ends.
#pragma once

#include <string>

namespace demo {

class StagedDatabase {
public:
    // Takes the temporary file beside `finalPath`, empty and readable by its owner only.
    // Throws std::runtime_error when another run is writing it or it cannot be made.
    explicit StagedDatabase(const std::string& finalPath);
    // Removes the temporary file unless it was moved into place.
    ~StagedDatabase();
    StagedDatabase(const StagedDatabase&) = delete;
    StagedDatabase& operator=(const StagedDatabase&) = delete;

    // Where the database is written meanwhile.
    const std::string& path() const { return partial_; }

    // Moves the complete database to its own name, in place of any file there (whose
    // "-wal" and "-shm" files go first). Throws std::runtime_error.
    void commit();

private:
    std::string final_;
    std::string partial_;
    int lock_ = -1;
    bool committed_ = false;
};

}  // namespace demo
