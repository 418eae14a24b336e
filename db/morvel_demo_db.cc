// morvel_demo_db: creates the demo account database (schema, chart of accounts, branches
// and a generated journal) at a path, unless a database already stands there.
//
//   morvel_demo_db [PATH] [--lines N] [--branches B] [--from YYYY-MM-DD] [--to YYYY-MM-DD]
//                  [--seed S] [--force]
//
// Without PATH it writes the default database of the alias "Account".

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_database.h"
#include "engine/alias_config.h"

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

long long number(const std::string& option, const std::string& text) {
    std::size_t used = 0;
    const long long value = std::stoll(text, &used);
    if (used != text.size() || value < 0) throw std::invalid_argument(option + ": not a count: " + text);
    return value;
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
        else if (arg == "--branches") arguments.journal.branches = static_cast<int>(number(arg, value()));
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
    if (arguments.journal.branches < 1) throw std::invalid_argument("--branches must be at least 1");
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
        if (fs::exists(path)) {
            if (!arguments.force) {
                std::printf("%s exists; left as it is (--force replaces it)\n", arguments.path.c_str());
                return 0;
            }
            for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(arguments.path + suffix);
        }
        if (path.has_parent_path() && !fs::exists(path.parent_path())) {
            fs::create_directories(path.parent_path());
            fs::permissions(path.parent_path(), fs::perms::owner_all);  // the books' folder: its owner's only
        }
        std::vector<demo::JournalOptions> more;
        if (!arguments.periodGiven) more.push_back(listYearJournal(arguments.journal));
        demo::createDemoDatabase(arguments.path, arguments.journal, more);
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
