// The user's short date format and the conversions between dates and text under it.
// Format letters: yyyy or yy (year), MM or M (month), dd or d (day); any other
// character is the separator. The default is "yyyy-MM-dd".
#pragma once

#include <QDate>
#include <QString>
#include <stdexcept>
#include <string>

namespace forms {

// A text that does not convert (the message names the text).
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

QString shortDateFormat();
void setShortDateFormat(const QString& format);  // tests; empty restores the default

// The date written in the short date format.
std::string dateToStr(const QDate& date);

// Reads a date written in the short date format's order of year, month and day with
// its separator; one- or two-digit parts are accepted, a two-digit year falls in the
// current century, and a text of two parts takes the current year. Blanks around the
// text are ignored. Throws ConvertError when the text is not a calendar date.
QDate strToDate(const std::string& text);

}  // namespace forms
