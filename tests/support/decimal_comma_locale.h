// The C library's conversions under a locale that writes the decimal point as a comma
// (de_DE.UTF-8, which scripts/install-deps.sh generates), as a program started with
// LC_ALL=de_DE.UTF-8 has them, until the end of the object's life.
#pragma once

#include <clocale>
#include <cstring>
#include <string>

struct DecimalCommaLocale {
    static constexpr const char* kMissing = "no locale de_DE.UTF-8 (scripts/install-deps.sh generates it)";
    DecimalCommaLocale() {
        ok = std::setlocale(LC_ALL, "de_DE.UTF-8") && std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, before.c_str()); }
    const std::string before = std::setlocale(LC_ALL, nullptr);
    bool ok = false;
};
