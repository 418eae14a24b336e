#include "fields.h"

#include <cmath>
#include <cstdio>

#include "engine/query.h"

namespace forms {

Field::Field(std::string name, std::string fieldName, engine::Query* dataSet)
    : name_(std::move(name)), fieldName_(std::move(fieldName)), dataSet_(dataSet) {}

bool Field::isNull() const {
    if (!dataSet_ || !dataSet_->active() || dataSet_->recordCount() == 0 || dataSet_->eof()) return true;
    return dataSet_->fieldByName(fieldName_).isNull();
}

std::string Field::asString() const {
    return isNull() ? std::string() : dataSet_->fieldByName(fieldName_).asString();
}

double Field::asFloat() const {
    return isNull() ? 0.0 : dataSet_->fieldByName(fieldName_).asFloat();
}

std::string Field::displayText() const { return asString(); }

StringField::StringField(std::string name, std::string fieldName, engine::Query* dataSet, int size)
    : Field(std::move(name), std::move(fieldName), dataSet), size_(size) {}

FloatField::FloatField(std::string name, std::string fieldName, engine::Query* dataSet)
    : Field(std::move(name), std::move(fieldName), dataSet) {
    alignment_ = Alignment::Right;
    displayWidth_ = 10;
}

std::string FloatField::displayText() const {
    if (isNull()) return {};
    return formatFloat(displayFormat_, asFloat());
}

std::string formatFloat(const std::string& format, double value) {
    if (format.empty()) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", value);
        return buf;
    }
    // Decimals: the digit placeholders after '.', '0' forcing, '#' optional.
    const auto dot = format.find('.');
    const std::string intPart = format.substr(0, dot);
    const std::string fracPart = dot == std::string::npos ? std::string() : format.substr(dot + 1);
    const bool thousands = intPart.find(',') != std::string::npos;
    int minInt = 0;
    for (char c : intPart) if (c == '0') ++minInt;
    const int decimals = static_cast<int>(fracPart.size());
    int minFrac = 0;
    for (char c : fracPart) if (c == '0') ++minFrac;

    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(value));
    std::string digits = buf;
    std::string frac;
    if (const auto p = digits.find('.'); p != std::string::npos) {
        frac = digits.substr(p + 1);
        digits.resize(p);
    }
    while (static_cast<int>(frac.size()) > minFrac && !frac.empty() && frac.back() == '0') frac.pop_back();
    // Integer digits: drop the lone zero unless the format forces digits.
    if (digits == "0") digits.clear();
    while (static_cast<int>(digits.size()) < minInt) digits.insert(digits.begin(), '0');
    if (thousands) {
        std::string grouped;
        const int n = static_cast<int>(digits.size());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) grouped += ',';
            grouped += digits[i];
        }
        digits = grouped;
    }
    std::string out = digits;
    if (!frac.empty()) out += "." + frac;
    const bool zero = out.empty() || out.find_first_not_of("0.,") == std::string::npos;
    if (!out.empty() && value < 0 && !zero) out.insert(out.begin(), '-');
    return out;
}

}  // namespace forms
