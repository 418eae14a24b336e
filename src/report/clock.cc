#include "clock.h"

#include <QLocale>

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

QDateTime now() { return clockSlot() ? clockSlot()() : QDateTime::currentDateTime(); }

void setShortDateFormat(const QString& format) { shortDateSlot() = format; }
void setLongTimeFormat(const QString& format) { longTimeSlot() = format; }

QString shortDateFormat() {
    return shortDateSlot().isEmpty() ? QLocale::system().dateFormat(QLocale::ShortFormat) : shortDateSlot();
}

QString longTimeFormat() {
    return longTimeSlot().isEmpty() ? QLocale::system().timeFormat(QLocale::LongFormat) : longTimeSlot();
}

QString formatDateTimeC(const QDateTime& moment) {
    const QString date = QLocale::system().toString(moment.date(), shortDateFormat());
    const QTime time = moment.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0) return date;
    return date + QLatin1Char(' ') + QLocale::system().toString(time, longTimeFormat());
}

}  // namespace report
