#include "mainform_period.h"

#include <QString>

#include "forms/date_format.h"
#include "forms/platform.h"

namespace mainform {

std::string todayCharacters(int first, int count) {
    const QString today = QString::fromStdString(forms::dateToStr(forms::currentDateTime().date()));
    if (first < 1 || first > today.size()) return {};
    return today.mid(first - 1, count).toStdString();
}

}  // namespace mainform
