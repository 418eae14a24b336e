#include "grid_canvas.h"

#include <QPainter>

namespace forms {

FontStyles Canvas::fontStyle() const {
    FontStyles styles;
    if (font_.bold()) styles |= FontStyle::Bold;
    if (font_.italic()) styles |= FontStyle::Italic;
    if (font_.underline()) styles |= FontStyle::Underline;
    if (font_.strikeOut()) styles |= FontStyle::StrikeOut;
    return styles;
}

void Canvas::setFontStyle(FontStyles styles) {
    font_.setBold(styles.testFlag(FontStyle::Bold));
    font_.setItalic(styles.testFlag(FontStyle::Italic));
    font_.setUnderline(styles.testFlag(FontStyle::Underline));
    font_.setStrikeOut(styles.testFlag(FontStyle::StrikeOut));
}

void Canvas::fillRect(const QRect& rect) {
    if (!painter_) return;
    painter_->fillRect(rect, brushColor_);
}

void Canvas::textRect(const QRect& rect, const std::string& text, Alignment alignment) {
    if (!painter_) return;
    fillRect(rect);
    if (text.empty()) return;
    constexpr int margin = 2;
    const QRect inner = rect.adjusted(margin, 0, -margin, 0);
    int flags = Qt::TextSingleLine | Qt::AlignVCenter;
    switch (alignment) {
        case Alignment::Left: flags |= Qt::AlignLeft; break;
        case Alignment::Right: flags |= Qt::AlignRight; break;
        case Alignment::Center: flags |= Qt::AlignHCenter; break;
    }
    painter_->save();
    painter_->setClipRect(rect);
    painter_->setFont(font_);
    painter_->setPen(fontColor_);
    painter_->drawText(inner, flags, QString::fromStdString(text));
    painter_->restore();
}

}  // namespace forms
