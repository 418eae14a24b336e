#include "column_types.h"

#include <cctype>
#include <cstring>

namespace engine {

ColumnTypes ColumnTypeCache::lookup() {
    return [this, reread = false](const std::string& column) mutable {
        auto it = types_.find(column);
        if (it == types_.end() && !reread) {  // a table made since the last look
            reread = true;
            this->reread();
            it = types_.find(column);
        }
        return it == types_.end() ? ColumnType{} : it->second;
    };
}

void ColumnTypeCache::reread() {
    types_.clear();
    for (auto& [name, type] : read_()) {
        const auto [it, added] = types_.emplace(name, type);
        if (added || it->second == type) continue;
        if (it->second.kind != type.kind) it->second.kind = ColumnKind::Unknown;
        if (it->second.name != type.name) it->second.name.clear();
    }
}

void ColumnTypeCache::noteStatement(const std::string& sql) {
    const size_t start = sql.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return;
    const std::string word = sql.substr(start, sql.find_first_of(" \t\r\n", start) - start);
    for (const char* ddl : {"CREATE", "ALTER", "DROP"})
        if (word.size() == std::strlen(ddl) && std::equal(word.begin(), word.end(), ddl, [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) == b;
            }))
            types_.clear();  // read again when next needed
}

}  // namespace engine
