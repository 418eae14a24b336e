// The request path of both main windows: running a request between the work table's
// preparation and its clean-up under the database guard, the clean-up when the window
// closes, refusing further requests while a report preview is open, and creating a
// report form owned by the application. Every statement of a run or print request goes
// through runPrepared.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "code_update_form.h"
#include "forms/application.h"

namespace mainform {

// The warning of a request that did not get the database guard in time.
inline constexpr const char* kAnotherCopyAtWork =
    "다른 사용자가 지금 이 데이터베이스에서 집계를 준비하고 있습니다. 잠시 후 다시 실행 하세요.";

// Prepares the work table, runs `request`, and cleans the table up again, all under
// the database guard, so that no other copy of either program works on the table
// meanwhile. Heading rows that a copy which died left behind are cleaned up first.
//
// When another copy keeps the guard for the whole wait, the warning kAnotherCopyAtWork
// is shown and nothing else happens: no statement, the cursor back to normal, and
// `request` not called. When the preparation or the request fails, the screen cursor
// returns to normal and the clean-up still runs before the error goes on to the error
// box; should that clean-up fail as well, the first error is the one reported, and the
// next request's recovery removes what is left.
void runPrepared(codeprep::CodeUpdateForm& preparation, const std::function<void()>& request);

// Lets other copies work while it lives, inside a request of runPrepared: the guard is
// let go (the report preview reads no table, and another copy's request first cleans up
// whatever it finds) and taken again at the end. When another copy keeps it then, the
// request leaves its clean-up to that copy or the next request, whose recovery does it.
class OthersMayWork {
public:
    explicit OthersMayWork(codeprep::CodeUpdateForm& preparation);
    ~OthersMayWork();
    OthersMayWork(const OthersMayWork&) = delete;
    OthersMayWork& operator=(const OthersMayWork&) = delete;

private:
    std::string alias_;
    bool paused_;
};

// The close's clean-up, under the guard, where this copy's preparation may have left
// something in the work table since its last clean-up; otherwise the close goes on at
// once, without connecting or taking the guard. Returns false when the close must not
// happen: the first close whose clean-up fails (or does not get the guard) shows the
// error and keeps the window. Once a close has failed, a further failure is shown as well
// but the close goes on, so the program can always be ended; the next request of any
// copy removes what is left.
bool cleanUpAtClose(codeprep::CodeUpdateForm& preparation);

// Forgets an earlier failed close (tests: a new main window).
void resetFailedClose();

// Disables the given controls for its lifetime (controls destroyed meanwhile are skipped).
// A focused control among them does not hand its focus on to the next control (the
// print button's neighbour is the close button, which Enter would press): the focus
// rests on the window itself meanwhile and returns to the control afterwards, unless the
// user has put it on another control.
class RequestsRefused {
public:
    explicit RequestsRefused(std::initializer_list<QWidget*> controls);
    ~RequestsRefused();
    RequestsRefused(const RequestsRefused&) = delete;
    RequestsRefused& operator=(const RequestsRefused&) = delete;

private:
    std::vector<QPointer<QWidget>> controls_;
    QPointer<QWidget> focusBack_;
};

// A new report form owned by the application, stored in `reference` in place of the
// one there before (which is not freed).
template <class T>
void createReportForm(T*& reference) {
    if (auto* application = forms::Application::instance()) application->createForm(reference);
    else reference = new T();
}

}  // namespace mainform
