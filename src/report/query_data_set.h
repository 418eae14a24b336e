// A report data set over an engine query and its persistent fields.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data_set.h"

namespace engine { class Query; }
namespace forms { class Field; }

namespace report {

// A query with the persistent fields declared on it.
struct QueryBinding {
    engine::Query* query = nullptr;
    std::vector<const forms::Field*> fields;

    // The persistent field of that column name, found without regard to case; null if none.
    const forms::Field* fieldByName(const std::string& fieldName) const;
    // The current row's text of a column; NULL, a closed or an empty query read as "".
    std::string asString(const std::string& fieldName) const;
};

// Finds the query when the report needs it, so a report can be bound to a query that
// another form owns and may replace.
using QueryResolver = std::function<QueryBinding()>;

// Data texts show the display text of the persistent field of their name (the fields'
// display format applies); a column without a persistent field shows its plain text.
class QueryDataSet : public DataSet {
public:
    explicit QueryDataSet(QueryResolver resolver);

    QueryBinding binding() const;

    bool isOpen() const override;
    void first() override;
    void next() override;
    bool eof() const override;
    QString displayText(const QString& fieldName) const override;

private:
    QueryResolver resolver_;
};

}  // namespace report
