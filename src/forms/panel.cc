#include "panel.h"

#include <QPainter>

namespace forms {

Panel::Panel(const std::string& name, QWidget* parent) : QFrame(parent) {
    setObjectName(QString::fromStdString(name));
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
}

void Panel::setCaption(const std::string& caption) {
    caption_ = QString::fromStdString(caption);
    update();
}

void Panel::setLoweredBevels() {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void Panel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (caption_.isEmpty()) return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
}

}  // namespace forms
