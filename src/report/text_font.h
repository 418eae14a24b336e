// The font of a report text: face, size in points, bold, underline and colour.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace report {

struct TextFont {
    QString family = QStringLiteral("굴림");
    int pointSize = 8;
    bool bold = false;
    bool underline = false;
    QColor color = Qt::black;

    // Height of the characters in layout units (8 pt -> 11).
    int heightUnits() const;
    // The font to draw with in layout units: pixel size = heightUnits(), the face resolved
    // to one installed on this machine, no hinting so that layout and every device agree.
    QFont toQFont() const;

    bool operator==(const TextFont&) const = default;
};

}  // namespace report
