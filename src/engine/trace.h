// The statement trace: every statement the engine runs, as given and as sent,
// with its parameter values, the rows returned or changed and the time taken.
// MORVEL_SQL_TRACE names a file that receives it; tests can also install a sink.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace engine {

struct TraceEntry {
    std::string alias;
    std::string text;     // the statement text as the program gave it (lines joined by CR LF)
    std::string sent;     // the text as sent to the backend
    std::vector<std::pair<std::string, std::string>> params;  // entry name, value ("<NULL>")
    long long rows = 0;   // rows returned (select) or changed
    bool isSelect = false;
    double milliseconds = 0;
    std::string error;    // empty when the statement succeeded
};

using TraceSink = std::function<void(const TraceEntry&)>;

// Installs a sink (tests); returns the previous one. An empty sink removes it.
TraceSink setTraceSink(TraceSink sink);

// Called by the engine for every statement.
void traceStatement(const TraceEntry& entry);

}  // namespace engine
