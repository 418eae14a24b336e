// morvel_demo_db: creates the demo account database (schema, chart of accounts, branches
// and a generated journal) at a path, unless a database already stands there.
//
//   morvel_demo_db [PATH] [--lines N] [--branches B] [--from YYYY-MM-DD] [--to YYYY-MM-DD]
//                  [--seed S] [--force]
//
// Without PATH it writes the default database of the alias "Account". The database is
// written under a temporary name and moved into place when complete: an interrupted run
// leaves no database behind, and the next run makes it whole.

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "demo_database.h"
#include "engine/alias_config.h"
#include "staged_database.h"

namespace {

constexpr const char* kUsage =
    "usage: morvel_demo_db [PATH] [--lines N] [--branches B] [--from YYYY-MM-DD]\n"
    "                      [--to YYYY-MM-DD] [--seed S] [--force]\n";

struct Arguments {
    std::string path;
    demo::JournalOptions journal;
    bool periodGiven = false;
    bool force = false;
};

// The year lists of the programs end in 2011: without a period of its own the demo
// journal also covers that year, so that a year picked from the list holds data.
demo::JournalOptions listYearJournal(const demo::JournalOptions& main) {
    demo::JournalOptions year = main;
    year.from = "2011-01-01";
    year.to = "2011-12-31";
    year.lines = std::max(4LL, main.lines / 4);
    year.seed = main.seed + 1;
    return year;
}

// A whole number from `least` to `most` written in decimal digits, or a message naming
// the option.
long long number(const std::string& option, const std::string& text, long long least = 0,
                 long long most = std::numeric_limits<long long>::max()) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size() && value >= least && value <= most) return value;
    const std::string range = std::to_string(least) + (most == std::numeric_limits<long long>::max()
                                                           ? " or more"
                                                           : " to " + std::to_string(most));
    throw std::invalid_argument(option + " takes a whole number of " + range + ", not '" + text + "'");
}

// Whether the file is a database without any table: what an interrupted run of an
// earlier version left at the final path. Anything else, or a file that is no database,
// is somebody's and stays.
bool holdsNoTable(const std::string& path) {
    sqlite3* db = nullptr;
    bool empty = false;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* count = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema", -1, &count, nullptr) == SQLITE_OK &&
            sqlite3_step(count) == SQLITE_ROW)
            empty = sqlite3_column_int(count, 0) == 0;
        sqlite3_finalize(count);
    }
    sqlite3_close(db);
    return empty;
}

Arguments parse(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--lines") arguments.journal.lines = number(arg, value());
        else if (arg == "--branches") arguments.journal.branches = static_cast<int>(number(arg, value(), 1, 99999));
        else if (arg == "--from") { arguments.journal.from = value(); arguments.periodGiven = true; }
        else if (arg == "--to") { arguments.journal.to = value(); arguments.periodGiven = true; }
        else if (arg == "--seed") arguments.journal.seed = static_cast<std::uint64_t>(number(arg, value()));
        else if (arg == "--force") arguments.force = true;
        else if (arg == "--help" || arg == "-h") { std::fputs(kUsage, stdout); std::exit(0); }
        else if (!arg.empty() && arg[0] != '-' && arguments.path.empty()) arguments.path = arg;
        else throw std::invalid_argument("unknown argument: " + arg);
    }
    for (const std::string* date : {&arguments.journal.from, &arguments.journal.to}) {
        if (!demo::isIsoDate(*date)) throw std::invalid_argument("not a date (YYYY-MM-DD): " + *date);
    }
    if (arguments.journal.to < arguments.journal.from) throw std::invalid_argument("--to lies before --from");
    if (arguments.path.empty()) arguments.path = engine::defaultDatabasePath();
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    try {
        arguments = parse(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "morvel_demo_db: %s\n%s", error.what(), kUsage);
        return 2;
    }
    namespace fs = std::filesystem;
    try {
        const fs::path path(arguments.path);
        if (fs::exists(path) && !arguments.force && !holdsNoTable(arguments.path)) {
            std::printf("%s exists; left as it is (--force replaces it)\n", arguments.path.c_str());
            return 0;
        }
        if (path.has_parent_path() && !fs::exists(path.parent_path())) {
            fs::create_directories(path.parent_path());
            fs::permissions(path.parent_path(), fs::perms::owner_all);  // the books' folder: its owner's only
        }
        std::vector<demo::JournalOptions> more;
        if (!arguments.periodGiven) more.push_back(listYearJournal(arguments.journal));
        demo::StagedDatabase staged(arguments.path);
        demo::createDemoDatabase(staged.path(), arguments.journal, more);
        staged.commit();
        std::printf("%s: %d branches\n", arguments.path.c_str(), arguments.journal.branches);
        more.insert(more.begin(), arguments.journal);
        for (const demo::JournalOptions& journal : more)
            std::printf("  %lld journal lines, %s to %s\n", journal.lines, journal.from.c_str(), journal.to.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "morvel_demo_db: %s\n", error.what());
        return 1;
    }
    return 0;
}
