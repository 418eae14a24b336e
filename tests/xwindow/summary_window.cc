#include "summary_window.h"

#include <QApplication>
#include <QTest>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "DAY_MORVEL_Unit1.h"
#include "DAY_MORVEL_Unit1_Print01.h"
#include "MONTH_MORVEL_CODE_Update_Unit.h"
#include "MONTH_MORVEL_Unit1.h"
#include "MONTH_MORVEL_Unit1_Print01.h"
#include "forms/application.h"
#include "forms/date_format.h"
#include "forms/font.h"
#include "forms/platform.h"
#include "unowned_report_forms.h"
#include "x_session.h"

SummaryWindow::SummaryWindow(const QString& program, QDate today) : daily_(program == QLatin1String("daily")) {
    forms::installKoreanFace();
    forms::setApplicationTitle(daily_ ? "Day_morvel" : "Month_morvel");
    forms::resetPlatform();
    forms::setShortDateFormat({});
    forms::setClock([today] { return QDateTime(today, QTime(10, 30)); });

    if (daily_) {
        DayRunCheck().clear();
        fmDay_Morvel_Form = new TfmDay_Morvel_Form;
        form = fmDay_Morvel_Form;
        form->create();
        preparation_ = fmDAY_MORVEL_CODE_Update_Form = new TfmDAY_MORVEL_CODE_Update_Form;
    } else {
        MonthRunCheck().clear();
        fmMonth_Morvel_Form = new TfmMonth_Morvel_Form;
        form = fmMonth_Morvel_Form;
        form->create();
        preparation_ = fmMONTH_MORVEL_CODE_Update_Form = new TfmMONTH_MORVEL_CODE_Update_Form;
    }
    form->show();
    ok_ = QTest::qWaitForWindowActive(form) && xsession::waitFor([this] { return focused() != nullptr; });
}

SummaryWindow::~SummaryWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != form && window->isVisible()) window->close();
    freeUnownedReportForms();
    delete form;
    delete preparation_;
    fmDay_Morvel_Form = nullptr;
    fmMonth_Morvel_Form = nullptr;
    qrfmDay_Morvel_Form = nullptr;
    qrfmMonth_Morvel_Form = nullptr;
    fmDAY_MORVEL_CODE_Update_Form = nullptr;
    fmMONTH_MORVEL_CODE_Update_Form = nullptr;
    forms::resetPlatform();
}

TfmDay_Morvel_Form* SummaryWindow::daily() const { return daily_ ? fmDay_Morvel_Form : nullptr; }

QWidget* SummaryWindow::focused() const { return QApplication::focusWidget(); }

bool SummaryWindow::waitForFocus(const QWidget* control, int ms) const {
    return xsession::waitFor([&] { return form->isActiveWindow() && focused() == control; }, ms);
}

void SummaryWindow::setPeriod(const std::string& m1, const std::string& d1, const std::string& m2,
                              const std::string& d2) {
    form->cbMonth_First->setText(m1);
    form->cbMonth_End->setText(m2);
    if (TfmDay_Morvel_Form* d = daily()) {
        d->cbDay_First->setText(d1);
        d->cbDay_End->setText(d2);
    }
}

bool SummaryWindow::runMay() {
    setPeriod("05", "01", "05", "10");
    xsession::click(form->BitBtn1);
    return xsession::waitFor([this] { return form->DBGrid1->recordCount() > 0; });
}
