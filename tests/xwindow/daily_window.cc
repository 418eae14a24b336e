#include "daily_window.h"

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <unistd.h>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "DAY_MORVEL_Unit1.h"
#include "DAY_MORVEL_Unit1_Print01.h"
#include "demo_database.h"
#include "engine/database.h"
#include "forms/application.h"
#include "forms/date_format.h"
#include "forms/font.h"
#include "forms/platform.h"
#include "x_session.h"
#include "unowned_report_forms.h"

namespace {

std::string freshDatabasePath() {
    static int counter = 0;
    return (std::filesystem::temp_directory_path() /
            ("morvel_xwindow_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".db"))
        .string();
}

}  // namespace

DailyWindow::DailyWindow(QDate today) : path_(freshDatabasePath()) {
    demo::JournalOptions journal;
    journal.lines = 1500;
    journal.branches = 3;
    journal.from = "2002-01-01";
    journal.to = "2002-12-31";
    journal.seed = 3;
    demo::createDemoDatabase(path_, journal);
    engine::resetDatabases();
    engine::AliasConfig config;
    config.path = path_;
    engine::databaseForAlias("Account").setConfig(config);

    forms::installKoreanFace();
    forms::setApplicationTitle("Day_morvel");
    forms::resetPlatform();
    forms::setShortDateFormat({});
    forms::setClock([today] { return QDateTime(today, QTime(10, 30)); });
    DayRunCheck().clear();

    form = new TfmDay_Morvel_Form;
    fmDay_Morvel_Form = form;
    form->create();
    codeUpdate_ = new TfmDAY_MORVEL_CODE_Update_Form;
    fmDAY_MORVEL_CODE_Update_Form = codeUpdate_;
    form->show();
    ok_ = QTest::qWaitForWindowActive(form) && xsession::waitFor([this] { return focused() != nullptr; });
}

DailyWindow::~DailyWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != form && window->isVisible()) window->close();
    freeUnownedReportForms();
    qrfmDay_Morvel_Form = nullptr;
    delete form;
    fmDay_Morvel_Form = nullptr;
    delete codeUpdate_;
    fmDAY_MORVEL_CODE_Update_Form = nullptr;
    forms::resetPlatform();
    engine::resetDatabases();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix);
}

QWidget* DailyWindow::focused() const { return QApplication::focusWidget(); }

bool DailyWindow::waitForFocus(const QWidget* control, int ms) const {
    return xsession::waitFor([&] { return form->isActiveWindow() && focused() == control; }, ms);
}

void DailyWindow::setPeriod(const std::string& m1, const std::string& d1, const std::string& m2,
                            const std::string& d2) {
    form->cbMonth_First->setText(m1);
    form->cbDay_First->setText(d1);
    form->cbMonth_End->setText(m2);
    form->cbDay_End->setText(d2);
}
