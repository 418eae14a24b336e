#include "bit_btn.h"

#include <QBitmap>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QKeySequence>
#include <QShortcutEvent>

#include "application.h"

namespace forms {

QPixmap maskedGlyph(const QPixmap& glyph) {
    if (glyph.isNull()) return glyph;
    const QImage image = glyph.toImage();
    const QColor transparent = image.pixelColor(0, image.height() - 1);
    QPixmap masked = glyph;
    masked.setMask(glyph.createMaskFromColor(transparent, Qt::MaskInColor));
    return masked;
}

bool clickAccessKey(QWidget* window, const QKeyEvent* event) {
    if (!(event->modifiers() & Qt::AltModifier) || !window) return false;
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, Qt::Key(event->key())));
    for (auto* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || !button->isEnabled()) continue;
        if (QKeySequence::mnemonic(button->text()) == pressed) {
            button->click();
            return true;
        }
    }
    return false;
}

BitBtn::BitBtn(const std::string& name, const std::string& caption, QWidget* parent)
    : QPushButton(QString::fromStdString(caption), parent) {
    setObjectName(QString::fromStdString(name));
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QPushButton::clicked, this, [this] {
        if (onClick) runHandler(onClick);
    });
}

void BitBtn::setGlyph(const QPixmap& glyph, int images) {
    glyph_ = glyph;
    const QPixmap masked = maskedGlyph(glyph);
    const int width = images > 1 ? masked.width() / images : masked.width();
    QIcon icon;
    icon.addPixmap(masked.copy(0, 0, width, masked.height()), QIcon::Normal);
    if (images > 1) icon.addPixmap(masked.copy(width, 0, width, masked.height()), QIcon::Disabled);
    setIcon(icon);
    setIconSize(QSize(width, masked.height()));
}

bool BitBtn::event(QEvent* event) {
    // The access key clicks at once and leaves the focus where it is.
    if (event->type() == QEvent::Shortcut) {
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (!shortcut->isAmbiguous()) {
            if (isEnabled() && isVisible()) click();
            return true;
        }
    }
    return QPushButton::event(event);
}

void BitBtn::mousePressEvent(QMouseEvent* event) {
    // The press gives the button the focus first; when the control that had it took
    // the focus back, the click does not happen.
    if (event->button() == Qt::LeftButton && (focusPolicy() & Qt::ClickFocus) && !hasFocus() &&
        isActiveWindow()) {
        event->ignore();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void BitBtn::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier))) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace forms
