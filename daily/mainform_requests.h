// The request path of both main windows: running a request between the work table's
// preparation and its clean-up, the clean-up when the window closes, refusing further
// requests while a report preview is open, and creating a report form owned by the
// application. Every statement of a run or print request goes through runPrepared.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <vector>

#include "code_update_form.h"
#include "forms/application.h"

namespace mainform {

// Prepares the work table, runs `request`, and cleans the table up again.
//
// When the preparation or the request fails, the screen cursor returns to normal and
// the clean-up still runs before the error goes on to the error box, so the next
// request does not meet the heading rows twice. Should that clean-up fail as well, the
// first error is the one reported, and the next request cleans up before it prepares.
void runPrepared(codeprep::CodeUpdateForm& preparation, const std::function<void()>& request);

// The clean-up when a main window closes. A failure reaches the caller (the close then
// does not happen); a success also settles a clean-up owed from an earlier request.
void cleanUpAtClose(codeprep::CodeUpdateForm& preparation);

// True while a clean-up is owed from a request whose own clean-up failed.
bool cleanUpOwed();

// Disables the given controls for its lifetime (controls destroyed meanwhile are skipped).
class RequestsRefused {
public:
    explicit RequestsRefused(std::initializer_list<QWidget*> controls);
    ~RequestsRefused();
    RequestsRefused(const RequestsRefused&) = delete;
    RequestsRefused& operator=(const RequestsRefused&) = delete;

private:
    std::vector<QPointer<QWidget>> controls_;
};

// A new report form owned by the application, stored in `reference` in place of the
// one there before (which is not freed).
template <class T>
void createReportForm(T*& reference) {
    if (auto* application = forms::Application::instance()) application->createForm(reference);
    else reference = new T();
}

}  // namespace mainform
