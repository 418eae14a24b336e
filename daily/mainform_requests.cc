#include "mainform_requests.h"

#include "engine/database_guard.h"
#include "forms/application.h"
#include "forms/message_box.h"
#include "forms/platform.h"

namespace mainform {
namespace {

bool closeFailedBefore = false;
// Set when a request could not take the guard again after letting other copies work.
bool guardGivenUp = false;

// The preparation, the request and the clean-up, the guard held.
void prepareRunAndCleanUp(codeprep::CodeUpdateForm& preparation, const std::function<void()>& request) {
    guardGivenUp = false;
    preparation.pClean_Leftovers();
    try {
        preparation.pRun_CodeUpdate();
        request();
    } catch (...) {
        forms::setScreenCursor(forms::ScreenCursor::Default);
        try {
            if (!guardGivenUp) preparation.pDelete_Update();
        } catch (...) {
            // The user sees the first error; the next request's recovery cleans up.
        }
        throw;
    }
    if (!guardGivenUp) preparation.pDelete_Update();
}

}  // namespace

void runPrepared(codeprep::CodeUpdateForm& preparation, const std::function<void()>& request) {
    try {
        engine::DatabaseGuard guard(preparation.Query_SSSSS_Code.databaseName());
        prepareRunAndCleanUp(preparation, request);
    } catch (const engine::DatabaseBusy&) {
        forms::setScreenCursor(forms::ScreenCursor::Default);
        forms::showWarning(kAnotherCopyAtWork);
    } catch (...) {
        forms::setScreenCursor(forms::ScreenCursor::Default);
        throw;
    }
}

OthersMayWork::OthersMayWork(codeprep::CodeUpdateForm& preparation)
    : alias_(preparation.Query_SSSSS_Code.databaseName()), paused_(engine::pauseGuard(alias_)) {}

OthersMayWork::~OthersMayWork() {
    if (paused_ && !engine::resumeGuard(alias_)) guardGivenUp = true;
}

bool cleanUpAtClose(codeprep::CodeUpdateForm& preparation) {
    if (!preparation.leftPrepared()) return true;  // nothing to reset: no connection, no guard
    try {
        engine::DatabaseGuard guard(preparation.Query_SSSSS_Code.databaseName());
        preparation.pDelete_Update();
        return true;
    } catch (const engine::DatabaseBusy&) {
        forms::showWarning(kAnotherCopyAtWork);
    } catch (const std::exception& error) {
        forms::showErrorBox(error.what());
    }
    const bool closeAnyway = closeFailedBefore;
    closeFailedBefore = true;
    return closeAnyway;
}

void resetFailedClose() { closeFailedBefore = false; }

RequestsRefused::RequestsRefused(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) {
        if (!control || !control->isEnabled()) continue;
        if (control->window()->focusWidget() == control) {
            focusBack_ = control;
            control->window()->setFocus(Qt::OtherFocusReason);
        }
        control->setEnabled(false);
        controls_.emplace_back(control);
    }
}

RequestsRefused::~RequestsRefused() {
    for (const auto& control : controls_)
        if (control) control->setEnabled(true);
    if (!focusBack_) return;
    QWidget* window = focusBack_->window();
    if (!window->focusWidget() || window->focusWidget() == window) focusBack_->setFocus(Qt::OtherFocusReason);
}

}  // namespace mainform
