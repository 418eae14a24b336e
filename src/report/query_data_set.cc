#include "query_data_set.h"

#include <algorithm>
#include <cctype>

#include "engine/query.h"
#include "forms/fields.h"

namespace report {
namespace {

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool onRow(const engine::Query* query) { return query && query->active() && !query->eof(); }

}  // namespace

const forms::Field* QueryBinding::fieldByName(const std::string& fieldName) const {
    for (const forms::Field* field : fields)
        if (field && sameName(field->fieldName(), fieldName)) return field;
    return nullptr;
}

std::string QueryBinding::asString(const std::string& fieldName) const {
    if (!onRow(query)) return {};
    if (const forms::Field* field = fieldByName(fieldName)) return field->asString();
    if (!query->hasField(fieldName)) return {};
    return query->fieldByName(fieldName).asString();
}

QueryDataSet::QueryDataSet(const QueryBinding& binding) : binding_(binding) {}

bool QueryDataSet::isOpen() const {
    const engine::Query* query = binding().query;
    return query && query->active();
}

void QueryDataSet::first() {
    if (engine::Query* query = binding().query; query && query->active()) query->first();
}

void QueryDataSet::next() {
    if (engine::Query* query = binding().query; query && query->active()) query->next();
}

bool QueryDataSet::eof() const { return !onRow(binding().query); }

QString QueryDataSet::displayText(const QString& fieldName) const {
    const QueryBinding& bound = binding_;
    if (!onRow(bound.query)) return {};
    const std::string name = fieldName.toStdString();
    if (const forms::Field* field = bound.fieldByName(name)) return QString::fromStdString(field->displayText());
    if (!bound.query->hasField(name)) return {};
    return QString::fromStdString(bound.query->fieldByName(name).asString());
}

}  // namespace report
