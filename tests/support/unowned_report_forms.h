// Tests create their forms without an application object, so nobody owns the report
// forms that their print requests create; they free them themselves.
#pragma once

#include <QApplication>
#include <QWidget>

#include "account_summary_report_form.h"

inline void freeUnownedReportForms() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (dynamic_cast<summary_report::AccountSummaryReportForm*>(window)) delete window;
}
