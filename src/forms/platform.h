// What the forms ask of the system: the platform identifier, the work area, the
// screen size, a window's frame, today's date and time, and the screen cursor. Each
// answer comes from the running system unless a test has set it.
#pragma once

#include <QDateTime>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

namespace forms {

// Platform identifiers as the version query reports them.
inline constexpr int kPlatformWin32s = 0;
inline constexpr int kPlatformWindows9x = 1;  // the 95, 98 and Me family
inline constexpr int kPlatformNT = 2;

int platformId();                // kPlatformNT unless set
QRect workArea();                // the screen less its panels
QSize screenSize();              // the whole primary screen
QDateTime currentDateTime();     // the local date and time, read afresh at each call

// The window manager's frame around a top-level window; none while it is not framed.
QMargins frameMargins(const QWidget* window);

void setPlatformId(int id);
void setWorkArea(const QRect& area);
void setScreenSize(const QSize& size);
void setClock(std::function<QDateTime()> clock);
// Back to the running system's answers (tests).
void resetPlatform();

// The screen cursor: the hourglass while the programs wait for the database.
enum class ScreenCursor { Default, HourGlass };
void setScreenCursor(ScreenCursor cursor);
ScreenCursor screenCursor();

}  // namespace forms
