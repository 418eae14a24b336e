// A push button with a caption and a glyph. "&" in the caption marks the access key
// (Alt + letter), which clicks the button anywhere in its window without moving the
// focus. The glyph holds two images side by side, the normal one and the one shown
// while the button is disabled; its bottom-left pixel's colour is transparent.
// A mouse click acts only when the button receives the focus: a control that keeps
// the focus on leaving (a pick list without a pick) thereby stops the click.
#pragma once

#include <QPixmap>
#include <QPushButton>
#include <functional>
#include <string>

namespace forms {

class BitBtn : public QPushButton {
    Q_OBJECT
public:
    BitBtn(const std::string& name, const std::string& caption, QWidget* parent);

    std::string caption() const { return text().toStdString(); }
    void setCaption(const std::string& caption) { setText(QString::fromStdString(caption)); }

    // Sets a glyph of `images` images side by side (1 or 2).
    void setGlyph(const QPixmap& glyph, int images = 2);
    const QPixmap& glyph() const { return glyph_; }

    std::function<void()> onClick;

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap glyph_;
};

// Clicks the enabled, visible button of `window` whose access key the key event is
// (Alt + the letter after "&"); false when there is none. For keys that reach a
// control before the window's shortcuts do (a drop-down list that is open).
bool clickAccessKey(QWidget* window, const QKeyEvent* event);

// The glyph with its transparent colour (that of the bottom-left pixel) masked out.
QPixmap maskedGlyph(const QPixmap& glyph);

}  // namespace forms
