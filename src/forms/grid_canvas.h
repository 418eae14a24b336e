// The drawing surface a grid hands to its cell-drawing handler: a brush colour, a
// font (with its colour) and the painter of the paint in progress. The grid sets the
// brush and font afresh before every cell; a handler may change them and draw again.
#pragma once

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QRect>
#include <string>

#include "fields.h"

class QPainter;

namespace forms {

enum class FontStyle { Bold = 0x1, Italic = 0x2, Underline = 0x4, StrikeOut = 0x8 };
Q_DECLARE_FLAGS(FontStyles, FontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(FontStyles)

class Canvas {
public:
    QColor brushColor() const { return brushColor_; }
    void setBrushColor(const QColor& color) { brushColor_ = color; }

    const QFont& font() const { return font_; }
    void setFont(const QFont& font) { font_ = font; }
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color) { fontColor_ = color; }
    int fontSize() const { return font_.pointSize(); }  // points
    void setFontSize(int points) { font_.setPointSize(points); }
    FontStyles fontStyle() const;
    void setFontStyle(FontStyles styles);  // exactly these styles, the others off

    // Drawing; does nothing outside a paint (no painter).
    bool canDraw() const { return painter_ != nullptr; }
    void fillRect(const QRect& rect);  // with the brush colour
    // Fills the rectangle and writes one line of text in it, 2 pixels in from the
    // side it is aligned to, centred vertically, clipped to the rectangle.
    void textRect(const QRect& rect, const std::string& text, Alignment alignment);

    QPainter* painter() const { return painter_; }
    void setPainter(QPainter* painter) { painter_ = painter; }

private:
    QColor brushColor_ = Qt::white;
    QFont font_;
    QColor fontColor_ = Qt::black;
    QPainter* painter_ = nullptr;
};

}  // namespace forms
