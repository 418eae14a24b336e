#include "clock.h"

#include <QLocale>

#include "forms/date_format.h"
#include "forms/platform.h"

namespace report {
namespace {

Clock& clockSlot() {
    static Clock clock;
    return clock;
}
QString& shortDateSlot() {
    static QString format;
    return format;
}
QString& longTimeSlot() {
    static QString format;
    return format;
}

}  // namespace

void setClock(Clock clock) { clockSlot() = std::move(clock); }

QDateTime now() { return clockSlot() ? clockSlot()() : forms::currentDateTime(); }

void setShortDateFormat(const QString& format) { shortDateSlot() = format; }
void setLongTimeFormat(const QString& format) { longTimeSlot() = format; }

QString shortDateFormat() {
    return shortDateSlot().isEmpty() ? forms::shortDateFormat() : shortDateSlot();
}

QString longTimeFormat() {
    return longTimeSlot().isEmpty() ? QStringLiteral("HH:mm:ss") : longTimeSlot();
}

QString formatDateTimeC(const QDateTime& moment) {
    const QString date = QLocale::c().toString(moment.date(), shortDateFormat());
    const QTime time = moment.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0) return date;
    return date + QLatin1Char(' ') + QLocale::c().toString(time, longTimeFormat());
}

}  // namespace report
