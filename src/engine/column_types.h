// The types that a backend's tables give their column names, as the translation of a
// statement asks for them (dialect.h): read from the backend's catalog when first needed,
// again when a name is missing (a table made since), and after a statement that makes,
// changes or drops a table.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dialect.h"

namespace engine {

class ColumnTypeCache {
public:
    // Lists every column of the backend's tables: lower-cased name and type.
    using Reader = std::function<std::vector<std::pair<std::string, ColumnType>>()>;
    explicit ColumnTypeCache(Reader read) : read_(std::move(read)) {}

    // The look-up for one translation; it reads the catalog again at most once. A name
    // that tables give different types has no type.
    ColumnTypes lookup();

    // Forgets what it read when `sql` makes, changes or drops a table.
    void noteStatement(const std::string& sql);

private:
    void reread();
    Reader read_;
    std::map<std::string, ColumnType> types_;
};

}  // namespace engine
