#include "message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "application.h"
#include "platform.h"

namespace forms {
namespace {

MessageResponder& responder() {
    static MessageResponder instance;
    return instance;
}

QMessageBox::Icon iconFor(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

// A box in the middle of the screen's work area, whichever window it belongs to.
class ScreenCentredBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);  // gives the box its size
        // Not framed yet: the frame of the window it belongs to is the best guess.
        centre(parentWidget() ? frameMargins(parentWidget()->window()) : QMargins());
    }

    bool event(QEvent* event) override {
        const bool activated = event->type() == QEvent::WindowActivate;
        const bool handled = QMessageBox::event(event);
        // Framed and activated by the window manager: centred again with its own frame.
        if (activated && !framed_ && isVisible()) {
            const QMargins frame = frameMargins(this);
            if (!frame.isNull()) {
                framed_ = true;
                centre(frame);
            }
        }
        return handled;
    }

private:
    // Places the box by its inside, so that with `frame` around it the whole box stands
    // in the middle of the work area.
    void centre(const QMargins& frame) {
        const QSize outer = size().grownBy(frame);
        const QRect area = workArea();
        const QPoint outerTopLeft(area.x() + (area.width() - outer.width()) / 2,
                                  area.y() + (area.height() - outer.height()) / 2);
        const QRect inner(outerTopLeft + QPoint(frame.left(), frame.top()), size());
        if (inner != geometry()) setGeometry(inner);
    }

    bool framed_ = false;
};

}  // namespace

void showMessage(MessageKind kind, const std::string& caption, const std::string& text) {
    if (responder()) {
        responder()(ShownMessage{kind, caption, text});
        return;
    }
    ScreenCentredBox box(iconFor(kind), QString::fromStdString(caption), QString::fromStdString(text),
                         QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

void showWarning(const std::string& text) { showMessage(MessageKind::Warning, "Warning", text); }

void showPlainMessage(const std::string& text) {
    showMessage(MessageKind::Plain, applicationTitle(), text);
}

MessageResponder setMessageResponder(MessageResponder r) {
    MessageResponder previous = std::move(responder());
    responder() = std::move(r);
    return previous;
}

}  // namespace forms
