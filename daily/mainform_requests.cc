#include "mainform_requests.h"

#include "forms/platform.h"

namespace mainform {
namespace {

bool owed = false;

}  // namespace

bool cleanUpOwed() { return owed; }

void runPrepared(codeprep::CodeUpdateForm& preparation, const std::function<void()>& request) {
    if (owed) {
        preparation.pDelete_Update();
        owed = false;
    }
    try {
        preparation.pRun_CodeUpdate();
        request();
    } catch (...) {
        forms::setScreenCursor(forms::ScreenCursor::Default);
        try {
            preparation.pDelete_Update();
        } catch (...) {
            owed = true;  // the user sees the first error; the next request cleans up first
        }
        throw;
    }
    try {
        preparation.pDelete_Update();
    } catch (...) {
        owed = true;
        throw;
    }
}

void cleanUpAtClose(codeprep::CodeUpdateForm& preparation) {
    preparation.pDelete_Update();
    owed = false;
}

RequestsRefused::RequestsRefused(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) {
        if (!control || !control->isEnabled()) continue;
        control->setEnabled(false);
        controls_.emplace_back(control);
    }
}

RequestsRefused::~RequestsRefused() {
    for (const auto& control : controls_)
        if (control) control->setEnabled(true);
}

}  // namespace mainform
