#include "fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "engine/query.h"

namespace forms {

Field::Field(std::string name, std::string fieldName, engine::Query* dataSet)
    : name_(std::move(name)), fieldName_(std::move(fieldName)), dataSet_(dataSet) {}

Field::~Field() {
    const auto listeners = std::move(releaseListeners_);
    for (const auto& listener : listeners) listener.second();
}

void Field::addReleaseListener(const void* owner, std::function<void()> released) {
    releaseListeners_.emplace_back(owner, std::move(released));
}

void Field::removeReleaseListener(const void* owner) {
    std::erase_if(releaseListeners_, [owner](const auto& listener) { return listener.first == owner; });
}

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

namespace {

// `value` written by to_chars with the given format and precision: digits and a
// decimal point, whatever the process's locale.
std::string written(double value, std::chars_format format, int precision) {
    char buf[400];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, format, precision).ptr;
    return std::string(buf, end);
}

// |value| written with `decimals` places like "%.*f", but rounded half away from zero
// on its 15 significant decimal digits (what a double holds reliably), so 2.5 gives 3
// and 0.285 gives 0.29 at two places, as an amount is expected to round. Magnitudes of
// 1e15 and more have no fraction to speak of and are written exactly.
std::string fixedDigits(double magnitude, int decimals) {
    if (magnitude >= 1e15 || !std::isfinite(magnitude))
        return written(std::round(magnitude), std::chars_format::fixed, decimals);
    constexpr int significant = 15;
    const std::string scientific = written(magnitude, std::chars_format::scientific, significant - 1);
    // d.dddddddddddddde[+-]xx
    const std::size_t e = scientific.find('e');
    std::string mantissa;
    for (std::size_t i = 0; i < e; ++i) if (scientific[i] != '.') mantissa += scientific[i];
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    // Digits kept: those before the point (exponent + 1) and `decimals` after it.
    const int kept = exponent + 1 + decimals;
    std::string digits;  // the rounded value times 10^decimals, as decimal digits
    if (kept < 0) {
        digits = "0";
    } else {
        digits = mantissa.substr(0, std::min<std::size_t>(kept, mantissa.size()));
        const bool roundUp = kept < static_cast<int>(mantissa.size()) && mantissa[kept] >= '5';
        while (static_cast<int>(digits.size()) < kept) digits += '0';
        if (roundUp) {
            int i = static_cast<int>(digits.size()) - 1;
            for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
            if (i >= 0) ++digits[i]; else digits.insert(digits.begin(), '1');
        }
        if (digits.empty()) digits = "0";
    }
    while (static_cast<int>(digits.size()) <= decimals) digits.insert(digits.begin(), '0');
    if (decimals > 0) digits.insert(digits.end() - decimals, '.');
    return digits;
}

}  // namespace

std::string formatFloat(const std::string& format, double value) {
    if (format.empty()) return written(value, std::chars_format::general, 15);
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

    std::string digits = fixedDigits(std::fabs(value), decimals);
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
