#include "message_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLayout>
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

// The width a title bar needs to show `caption` whole: the caption in a bold face
// (title bars draw their text bold) and beside it the window manager's icon and buttons
// with the gaps between them, together about six times as wide as the bar is high
// (`barHeight`: the frame's top, a guess where it is not known yet).
int titleBarWidth(const QString& caption, int barHeight) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    if (barHeight <= 0) barHeight = 2 * metrics.height();
    return metrics.horizontalAdvance(caption) + 6 * barHeight;
}

// A box in the middle of the screen's work area, whichever window it belongs to, and wide
// enough for its caption. It is a dialog with a close button only (the message box's own
// window hints).
class ScreenCentredBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        // Not framed yet: the frame of the window it belongs to is the best guess.
        const QMargins frame = parentWidget() ? frameMargins(parentWidget()->window()) : QMargins();
        // The box sizes itself to its contents: the row of buttons spans its width.
        if (auto* buttons = findChild<QDialogButtonBox*>()) {
            const QMargins margins = layout()->contentsMargins();
            buttons->setMinimumWidth(titleBarWidth(windowTitle(), frame.top()) - margins.left() - margins.right());
        }
        QMessageBox::showEvent(event);  // gives the box its size
        centre(frame);
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
