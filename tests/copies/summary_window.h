// The main window of either program and its preparation form as start-up creates them,
// headless, with a period of the year 2002 (daily: the whole year; monthly: February to
// November, so the two programs' rows differ), every message box recorded, and the
// grid's rows reduced to a short digest that two runs can be compared by.
#pragma once

#include <QDate>
#include <QDateTime>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "DAY_MORVEL_Unit1.h"
#include "DAY_MORVEL_Unit1_Print01.h"
#include "MONTH_MORVEL_CODE_Update_Unit.h"
#include "MONTH_MORVEL_Unit1.h"
#include "MONTH_MORVEL_Unit1_Print01.h"
#include "engine/database.h"
#include "engine/query.h"
#include "forms/application.h"
#include "forms/message_box.h"
#include "forms/platform.h"
#include "mainform_requests.h"
#include "unowned_report_forms.h"

namespace copies {

enum class Program { Daily, Monthly };

// The number of rows and a digest of their values, "<count> <digest>".
inline std::string digestOf(engine::Query& query) {
    std::string all;
    for (query.first(); !query.eof(); query.next())
        for (size_t c = 0; c < query.columnNames().size(); ++c) all += query.field(static_cast<int>(c)).asString() + "|";
    char digest[32];
    std::snprintf(digest, sizeof digest, "%016zx", std::hash<std::string>{}(all));
    return std::to_string(query.recordCount()) + " " + digest;
}

class SummaryWindow {
public:
    explicit SummaryWindow(Program program = Program::Daily) {
        forms::setClock([] { return QDateTime(QDate(2002, 5, 10), QTime(9, 0)); });
        forms::setMessageResponder([this](const forms::ShownMessage& box) { boxes.push_back(box); });
        engine::setLoginHandler([](engine::LoginRequest&) { return true; });
        mainform::resetFailedClose();
        if (program == Program::Daily) {
            auto* daily = new TfmDay_Morvel_Form;
            fmDay_Morvel_Form = daily;
            form = daily;
            form->create();
            fmDAY_MORVEL_CODE_Update_Form = new TfmDAY_MORVEL_CODE_Update_Form;
            preparation = fmDAY_MORVEL_CODE_Update_Form;
            daily->cbMonth_First->setText("01");
            daily->cbDay_First->setText("01");
            daily->cbMonth_End->setText("12");
            daily->cbDay_End->setText("31");
        } else {
            auto* monthly = new TfmMonth_Morvel_Form;
            fmMonth_Morvel_Form = monthly;
            form = monthly;
            form->create();
            fmMONTH_MORVEL_CODE_Update_Form = new TfmMONTH_MORVEL_CODE_Update_Form;
            preparation = fmMONTH_MORVEL_CODE_Update_Form;
            monthly->cbMonth_First->setText("02");
            monthly->cbMonth_End->setText("11");
        }
    }
    ~SummaryWindow() {
        forms::setMessageResponder({});
        freeUnownedReportForms();
        qrfmDay_Morvel_Form = nullptr;
        qrfmMonth_Morvel_Form = nullptr;
        delete form;
        delete preparation;
        fmDay_Morvel_Form = nullptr;
        fmMonth_Morvel_Form = nullptr;
        fmDAY_MORVEL_CODE_Update_Form = nullptr;
        fmMONTH_MORVEL_CODE_Update_Form = nullptr;
    }
    SummaryWindow(const SummaryWindow&) = delete;
    SummaryWindow& operator=(const SummaryWindow&) = delete;

    // Presses "&R실행"; returns "rows <count> <digest>", "refused" (another copy keeps
    // the database guard) or "error <the box's text>".
    std::string run() {
        boxes.clear();
        forms::runHandler([this] { form->BitBtn1Click(form->BitBtn1); });  // as a click runs it
        if (boxes.empty()) return "rows " + digestOf(form->Query1);
        if (boxes.front().text == mainform::kAnotherCopyAtWork) return "refused";
        return "error " + boxes.front().text;
    }

    mainform::SummaryMainForm* form;
    codeprep::CodeUpdateForm* preparation;
    std::vector<forms::ShownMessage> boxes;
};

}  // namespace copies
