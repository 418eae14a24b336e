// Font faces the report forms name that this machine lacks under that name.
#pragma once

#include <QString>

namespace report {

// The installed face that stands in for a family: "굴림" becomes one Korean face
// (Baekmuk Gulim, else NanumGothic), so every Korean text and number of a report is drawn
// in the same face instead of glyph by glyph from whatever fontconfig offers.
// A family this machine has, or one without a stand-in, is returned unchanged.
QString resolvedFamily(const QString& family);

// Registers the same stand-ins with Qt's font substitution, so widgets that name "굴림"
// get them too. Call once at start-up, after the application object exists.
void installFontSubstitutions();

}  // namespace report
