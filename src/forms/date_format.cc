#include "date_format.h"

#include <QStringList>
#include <array>

#include "platform.h"

namespace forms {
namespace {

const QString kDefaultFormat = QStringLiteral("yyyy-MM-dd");

QString& formatStorage() {
    static QString format = kDefaultFormat;
    return format;
}

QChar separatorOf(const QString& format) {
    for (QChar c : format)
        if (c != u'y' && c != u'M' && c != u'd') return c;
    return u'-';
}

// The order of the parts in the format: 'y', 'M' and 'd' by first appearance.
std::array<QChar, 3> orderOf(const QString& format) {
    std::array<QChar, 3> order{};
    int n = 0;
    for (QChar c : format) {
        if ((c == u'y' || c == u'M' || c == u'd') && n < 3) {
            bool seen = false;
            for (int i = 0; i < n; ++i) seen = seen || order[i] == c;
            if (!seen) order[n++] = c;
        }
    }
    if (n < 3) return {u'y', u'M', u'd'};
    return order;
}

[[noreturn]] void fail(const std::string& text) {
    throw ConvertError("'" + text + "' is not a valid date");
}

}  // namespace

QString shortDateFormat() { return formatStorage(); }

void setShortDateFormat(const QString& format) {
    formatStorage() = format.isEmpty() ? kDefaultFormat : format;
}

std::string dateToStr(const QDate& date) {
    return date.toString(shortDateFormat()).toStdString();
}

QDate strToDate(const std::string& text) {
    const QString format = shortDateFormat();
    const QStringList parts = QString::fromStdString(text).trimmed().split(separatorOf(format));
    if (parts.size() != 2 && parts.size() != 3) fail(text);

    std::array<QChar, 3> order = orderOf(format);
    int year = currentDateTime().date().year();
    int month = 0, day = 0;
    int partIndex = 0;
    for (QChar which : order) {
        if (which == u'y' && parts.size() == 2) continue;  // no year given
        const QString& part = parts[partIndex++];
        if (part.isEmpty() || part.size() > 4) fail(text);
        for (QChar c : part)
            if (c < u'0' || c > u'9') fail(text);
        const int value = part.toInt();
        if (which == u'y') {
            year = part.size() <= 2 ? currentDateTime().date().year() / 100 * 100 + value : value;
        } else if (which == u'M') {
            month = value;
        } else {
            day = value;
        }
    }
    const QDate date(year, month, day);
    if (year < 1 || !date.isValid()) fail(text);
    return date;
}

}  // namespace forms
