#include "value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace engine {

double numberFromText(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    if (at < text.size() && text[at] == '+') ++at;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    return error == std::errc() ? value : 0.0;
}

std::string Value::asString() const {
    if (isNull()) return {};
    if (isText()) return std::get<std::string>(data_);
    const double d = std::get<double>(data_);
    char buf[64];
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", d);
        return buf;
    }
    // The fewest digits that read back as the same double: amounts of 16 or 17
    // significant digits keep every one (they travel between statements as text).
    const auto written = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, written.ptr);
}

double Value::asFloat() const {
    if (isNull()) return 0.0;
    if (isNumber()) return std::get<double>(data_);
    return numberFromText(std::get<std::string>(data_));
}

}  // namespace engine
