#include "trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <mutex>

namespace engine {
namespace {

TraceSink& sink() {
    static TraceSink s;
    return s;
}

// Opens the trace file for appending. It is created readable by its owner only, and a
// symbolic link in its place is not followed (the statements carry the books' data).
FILE* openTraceFile(const char* path) {
    const int fd = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        static bool told = false;  // once per program, not once per statement
        if (!told) std::fprintf(stderr, "MORVEL_SQL_TRACE: cannot write %s: %s\n", path, std::strerror(errno));
        told = true;
        return nullptr;
    }
    FILE* f = ::fdopen(fd, "a");
    if (!f) ::close(fd);
    return f;
}

// Appends one entry to the file named by MORVEL_SQL_TRACE, when set.
void appendToFile(const TraceEntry& e) {
    const char* path = std::getenv("MORVEL_SQL_TRACE");
    if (!path || !*path) return;
    FILE* f = openTraceFile(path);
    if (!f) return;
    std::fprintf(f, "---- %s %s, %lld row(s), %.3f ms%s%s\n", e.alias.c_str(),
                 e.isSelect ? "select" : "statement", e.rows, e.milliseconds,
                 e.error.empty() ? "" : ", failed: ", e.error.c_str());
    std::fprintf(f, "text:\n%s\n", e.text.c_str());
    std::fprintf(f, "sent:\n%s\n", e.sent.c_str());
    for (const auto& [name, value] : e.params) std::fprintf(f, "param %s = [%s]\n", name.c_str(), value.c_str());
    std::fclose(f);
}

}  // namespace

TraceSink setTraceSink(TraceSink s) {
    TraceSink previous = std::move(sink());
    sink() = std::move(s);
    return previous;
}

void traceStatement(const TraceEntry& entry) {
    appendToFile(entry);
    if (sink()) sink()(entry);
}

}  // namespace engine
