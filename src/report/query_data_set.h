// A report data set over an engine query and its persistent fields.
#pragma once

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

// Data texts show the display text of the persistent field of their name (the fields'
// display format applies); a column without a persistent field shows its plain text.
//
// The data set reads the binding it is given, which must outlive it: the form that owns
// the query fills that binding in (and empties it before the query goes), so a report can
// be bound to a query of another form. An empty binding reads as a closed data set.
class QueryDataSet : public DataSet {
public:
    explicit QueryDataSet(const QueryBinding& binding);

    const QueryBinding& binding() const { return binding_; }

    bool isOpen() const override;
    void first() override;
    void next() override;
    bool eof() const override;
    QString displayText(const QString& fieldName) const override;

private:
    const QueryBinding& binding_;
};

}  // namespace report
