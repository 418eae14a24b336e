#include "text_lines.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

namespace report {

double textWidth(const QString& text, const TextFont& font) {
    return QFontMetricsF(font.toQFont()).horizontalAdvance(text);
}

double lineHeight(const TextFont& font) { return QFontMetricsF(font.toQFont()).height(); }

QStringList visibleLines(const QString& text, const TextFont& font, double width, double height, bool wordWrap) {
    if (text.isEmpty()) return {};
    if (!wordWrap || textWidth(text, font) <= width) return {text};

    QTextLayout layout(text, font.toQFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    double y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (!lines.isEmpty() && y + line.height() > height) break;
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
        y += line.height();
    }
    layout.endLayout();
    return lines;
}

}  // namespace report
