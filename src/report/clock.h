// The clock and the date and time formats the report prints in its system data texts.
// Tests set them; by default they are the forms layer's clock and short date format,
// and the 24-hour long time "HH:mm:ss".
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace report {

using Clock = std::function<QDateTime()>;

// Replaces the clock; an empty function restores the system clock.
void setClock(Clock clock);
QDateTime now();

// Qt date and time format strings ("yyyy-MM-dd", "HH:mm:ss"); an empty text restores the
// default.
void setShortDateFormat(const QString& format);
void setLongTimeFormat(const QString& format);
QString shortDateFormat();
QString longTimeFormat();

// Date-time format "c": the short date, one blank and the long time; the time and its
// blank are left out when hours, minutes and seconds are all zero.
QString formatDateTimeC(const QDateTime& moment);

}  // namespace report
