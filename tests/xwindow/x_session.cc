#include "x_session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

namespace xsession {

void bothPrograms() {
    QTest::addColumn<QString>("program");
    QTest::newRow("daily") << "daily";
    QTest::newRow("monthly") << "monthly";
}
namespace {

void xdotool(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), args);
    process.waitForFinished(5000);
}

}  // namespace

bool available() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") && !QStandardPaths::findExecutable("xdotool").isEmpty();
}

void key(const QString& keys) { xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys}); }

void pointAt(const QWidget* widget, QPoint local) {
    if (local.x() < 0) local = widget->rect().center();
    const QPoint at = widget->mapToGlobal(local);
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
    // The pointer's arrival is an event of its own.
    QTest::qWait(50);
}

void click(const QWidget* widget, QPoint local) {
    pointAt(widget, local);
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qSleep(5);
    }
    return true;
}

ModalAnswerer::ModalAnswerer(QString answerKey) : answerKey_(std::move(answerKey)) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start(30);
}

void ModalAnswerer::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
        answered_ = nullptr;
        return;
    }
    if (modal == answered_ || !modal->isActiveWindow()) return;
    answered_ = modal;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) texts.push_back(box->text().toStdString());
    key(answerKey_);
}

}  // namespace xsession
