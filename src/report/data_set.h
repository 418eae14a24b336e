// The rows a report walks through: one detail band per row, texts by field name.
#pragma once

#include <QString>

namespace report {

class DataSet {
public:
    virtual ~DataSet() = default;

    virtual bool isOpen() const = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    // The current row's text of a field as a data text shows it; empty when there is no row.
    virtual QString displayText(const QString& fieldName) const = 0;
};

}  // namespace report
