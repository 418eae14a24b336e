// A single value as the database returns it: NULL, text or a number.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace engine {

// The number a text begins with, written with a decimal point whatever the process's
// locale ("1234.56", " +7", "-1e3"; blanks before it and a plus sign allowed); 0 when
// the text begins with none.
double numberFromText(std::string_view text);

class Value {
public:
    Value() = default;
    static Value text(std::string s) { Value v; v.data_ = std::move(s); return v; }
    static Value number(double d) { Value v; v.data_ = d; return v; }

    bool isNull() const { return std::holds_alternative<std::monostate>(data_); }
    bool isText() const { return std::holds_alternative<std::string>(data_); }
    bool isNumber() const { return std::holds_alternative<double>(data_); }

    // Text form: NULL reads as "", numbers in their shortest exact decimal form.
    std::string asString() const;
    // Numeric form: NULL reads as 0, text is converted as far as it reads as a number.
    double asFloat() const;

    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, std::string, double> data_;
};

}  // namespace engine
