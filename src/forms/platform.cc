#include "platform.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <optional>

namespace forms {
namespace {

struct Overrides {
    std::optional<int> platformId;
    std::optional<QRect> workArea;
    std::optional<QSize> screenSize;
    std::function<QDateTime()> clock;
    ScreenCursor cursor = ScreenCursor::Default;
};

Overrides& overrides() {
    static Overrides instance;
    return instance;
}

QScreen* primaryScreen() {
    return QGuiApplication::instance() ? QGuiApplication::primaryScreen() : nullptr;
}

}  // namespace

int platformId() { return overrides().platformId.value_or(kPlatformNT); }

QRect workArea() {
    if (overrides().workArea) return *overrides().workArea;
    QScreen* screen = primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QSize screenSize() {
    if (overrides().screenSize) return *overrides().screenSize;
    QScreen* screen = primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

QDateTime currentDateTime() {
    return overrides().clock ? overrides().clock() : QDateTime::currentDateTime();
}

QMargins frameMargins(const QWidget* window) {
    if (!window->isVisible()) return {};
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

void setPlatformId(int id) { overrides().platformId = id; }
void setWorkArea(const QRect& area) { overrides().workArea = area; }
void setScreenSize(const QSize& size) { overrides().screenSize = size; }
void setClock(std::function<QDateTime()> clock) { overrides().clock = std::move(clock); }

void resetPlatform() {
    const ScreenCursor cursor = overrides().cursor;
    overrides() = Overrides{};
    overrides().cursor = cursor;
}

void setScreenCursor(ScreenCursor cursor) {
    if (cursor == overrides().cursor) return;
    overrides().cursor = cursor;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (cursor == ScreenCursor::HourGlass) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else QGuiApplication::restoreOverrideCursor();
}

ScreenCursor screenCursor() { return overrides().cursor; }

}  // namespace forms
