#include "message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "application.h"

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

}  // namespace

void showMessage(MessageKind kind, const std::string& caption, const std::string& text) {
    if (responder()) {
        responder()(ShownMessage{kind, caption, text});
        return;
    }
    QMessageBox box(iconFor(kind), QString::fromStdString(caption), QString::fromStdString(text),
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
