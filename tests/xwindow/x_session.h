// Driving windows on a real X server with a window manager. Keys and clicks go through
// the server (xdotool), so focus, activation and modal boxes behave as for a user: the
// window manager activates a modal box, the key closes it, the window comes back active.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace xsession {

// Whether the tests run on an X server (DISPLAY set, xdotool there).
bool available();

// Sends keys through the server to the window that has its input focus ("Tab",
// "Return", "alt+r", "shift+Tab").
void key(const QString& keys);
// Moves the pointer over a point of a widget (its centre by default) and leaves it there.
void pointAt(const QWidget* widget, QPoint local = QPoint(-1, -1));
// The same, and clicks.
void click(const QWidget* widget, QPoint local = QPoint(-1, -1));

// Processes events until `done` holds or `ms` have passed.
bool waitFor(const std::function<bool()>& done, int ms = 5000);

// Data rows of a test that runs on the daily and on the monthly window: one column
// "program" holding "daily" or "monthly".
void bothPrograms();

// Answers every modal message box that comes up, once it is the active window, with a
// real key, and records its text.
class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswerer(QString answerKey = QStringLiteral("Return"));
    std::vector<std::string> texts;

private:
    void poll();
    QString answerKey_;
    QTimer timer_;
    QPointer<QWidget> answered_;
};

}  // namespace xsession
