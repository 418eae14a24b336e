// The books that several copies share in one test: the demo chart, two branches and a
// year of journal (2002), on one backend, with alias files that point copies at them;
// and looks at the work table through the test's own alias.
#pragma once

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "copy_process.h"
#include "engine/query.h"
#include "journal_generator.h"
#include "summary_fixture.h"
#include "test_backends.h"

namespace copies {

using namespace std::chrono_literals;

inline constexpr const char* kDatabase = "morvel_copies_test";

inline long long scalar(const std::string& sql) {
    engine::Query q;
    q.setText(sql);
    q.open();
    return static_cast<long long>(q.field(0).asFloat());
}

inline long long headingRows() { return scalar("SELECT COUNT(*) FROM Test_Ac_Code WHERE Serial_No IS NULL"); }

// Neutral: no heading rows, every class "99", every link the filler.
inline bool neutral() {
    return headingRows() == 0 &&
           scalar("SELECT COUNT(*) FROM Test_Ac_Code WHERE Jan_Check <> '99' OR The_Code <> '123456789012' "
                  "OR Code_MoveCode <> '123456789012' OR Code_TwoMove <> '123456789012' "
                  "OR Code_ThreeMove <> '123456789012'") == 0;
}

class SharedBooks {
public:
    explicit SharedBooks(test_backends::Backend backend) {
        books_ = std::make_unique<fixture::SummaryDatabase>(backend, 2, false, kDatabase);
        books_->addJournal(demo::generateJournalLines(
            {.lines = 1500, .branches = 2, .from = "2002-01-01", .to = "2002-12-31", .seed = 11}));
        if (backend == test_backends::Backend::SQLite) {
            aliasFile_ = aliasFileFor(books_->path());
            return;
        }
        aliasFile_ = newAliasFile("driver = postgres\nhost = 127.0.0.1\nport = " +
                                  std::to_string(test_backends::postgresPort()) + "\ndatabase = " + kDatabase +
                                  "\nuser = " + test_backends::kPostgresRole + "\n");
    }
    ~SharedBooks() {
        books_.reset();
        for (const std::string& file : aliasFiles_) std::filesystem::remove(file);
    }
    SharedBooks(const SharedBooks&) = delete;
    SharedBooks& operator=(const SharedBooks&) = delete;

    // The alias file of the books' own path.
    const std::string& aliasFile() const { return aliasFile_; }
    // The SQLite file (empty on PostgreSQL).
    const std::string& path() const { return books_->path(); }

    // An alias file (readable by every user) that names the SQLite file by `path`.
    std::string aliasFileFor(const std::string& path) {
        return newAliasFile("driver = sqlite\npath = " + path + "\n");
    }

    // What one copy of the program alone shows for the year: its one run.
    std::string aloneRows(const std::string& program = "daily") {
        CopyProcess copy({"run", "1", program}, aliasFile_);
        const auto lines = copy.readAll(60s);
        return lines.size() == 1 ? lines[0] : "no single line";
    }

private:
    std::string newAliasFile(const std::string& keys) {
        const std::string file = (std::filesystem::temp_directory_path() /
                                  ("morvel_copies_" + std::to_string(::getpid()) + "_" +
                                   std::to_string(++counter_) + ".ini"))
                                     .string();
        std::ofstream(file) << "[Account]\n" << keys;
        std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
        aliasFiles_.push_back(file);
        return file;
    }

    std::unique_ptr<fixture::SummaryDatabase> books_;
    std::string aliasFile_;
    std::vector<std::string> aliasFiles_;
    static inline int counter_ = 0;
};

}  // namespace copies
