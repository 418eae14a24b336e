#include "value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace engine {

std::string Value::asString() const {
    if (isNull()) return {};
    if (isText()) return std::get<std::string>(data_);
    const double d = std::get<double>(data_);
    char buf[64];
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", d);
    } else {
        std::snprintf(buf, sizeof buf, "%.15g", d);
    }
    return buf;
}

double Value::asFloat() const {
    if (isNull()) return 0.0;
    if (isNumber()) return std::get<double>(data_);
    return std::strtod(std::get<std::string>(data_).c_str(), nullptr);
}

}  // namespace engine
