// Breaking a text into the lines that show in its box, measured in layout units.
#pragma once

#include <QString>
#include <QStringList>

#include "text_font.h"

namespace report {

// Width of the text on one line.
double textWidth(const QString& text, const TextFont& font);
// Height of one line of the font.
double lineHeight(const TextFont& font);

// The lines shown in a box: without word wrap the whole text on one line; with word wrap
// the lines of the text broken at the box width, as many as fit wholly in the box height
// (the first always). The box never grows; what does not fit is not shown.
QStringList visibleLines(const QString& text, const TextFont& font, double width, double height, bool wordWrap);

}  // namespace report
