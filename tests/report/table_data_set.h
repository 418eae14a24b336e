// An in-memory data set for tests of the report library: rows of named texts.
#pragma once

#include <QString>
#include <map>
#include <vector>

#include "report/data_set.h"

class TableDataSet : public report::DataSet {
public:
    using Row = std::map<QString, QString>;
    explicit TableDataSet(std::vector<Row> rows, bool open = true) : rows_(std::move(rows)), open_(open) {}

    bool isOpen() const override { return open_; }
    void first() override { current_ = 0; }
    void next() override { ++current_; }
    bool eof() const override { return !open_ || current_ >= rows_.size(); }
    QString displayText(const QString& fieldName) const override {
        if (eof()) return {};
        const auto it = rows_[current_].find(fieldName);
        return it == rows_[current_].end() ? QString() : it->second;
    }
    std::size_t current() const { return current_; }

private:
    std::vector<Row> rows_;
    bool open_;
    std::size_t current_ = 0;
};

// Rows with a field "N" holding "1", "2", ...
inline std::vector<TableDataSet::Row> numberedRows(int count) {
    std::vector<TableDataSet::Row> rows;
    for (int i = 1; i <= count; ++i) rows.push_back({{"N", QString::number(i)}});
    return rows;
}
