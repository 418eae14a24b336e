#include "text_font.h"

#include "forms/font.h"
#include "units.h"

namespace report {

int TextFont::heightUnits() const { return pointsToUnits(pointSize); }

QFont TextFont::toQFont() const {
    QFont font(forms::resolvedFamily(family));
    font.setPixelSize(heightUnits());
    font.setBold(bold);
    font.setUnderline(underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace report
