// The daily main window and its preparation form as start-up creates them, headless,
// with the period of the copies tests' journal, every message box recorded, and the
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
#include "engine/database.h"
#include "engine/query.h"
#include "forms/date_format.h"
#include "forms/platform.h"
#include "forms/message_box.h"
#include "mainform_requests.h"

namespace copies {

// The number of rows and a digest of their values, "<count> <digest>".
inline std::string digestOf(engine::Query& query) {
    std::string all;
    for (query.first(); !query.eof(); query.next())
        for (size_t c = 0; c < query.columnNames().size(); ++c) all += query.field(static_cast<int>(c)).asString() + "|";
    char digest[32];
    std::snprintf(digest, sizeof digest, "%016zx", std::hash<std::string>{}(all));
    return std::to_string(query.recordCount()) + " " + digest;
}

class DailyWindow {
public:
    DailyWindow() {
        forms::setClock([] { return QDateTime(QDate(2002, 5, 10), QTime(9, 0)); });
        forms::setMessageResponder([this](const forms::ShownMessage& box) { boxes.push_back(box); });
        engine::setLoginHandler([](engine::LoginRequest&) { return true; });
        mainform::resetFailedClose();
        form = new TfmDay_Morvel_Form;
        fmDay_Morvel_Form = form;
        form->create();
        preparation = new TfmDAY_MORVEL_CODE_Update_Form;
        fmDAY_MORVEL_CODE_Update_Form = preparation;
        form->cbMonth_First->setText("01");
        form->cbDay_First->setText("01");
        form->cbMonth_End->setText("12");
        form->cbDay_End->setText("31");
    }
    ~DailyWindow() {
        forms::setMessageResponder({});
        delete form;
        fmDay_Morvel_Form = nullptr;
        delete preparation;
        fmDAY_MORVEL_CODE_Update_Form = nullptr;
    }
    DailyWindow(const DailyWindow&) = delete;
    DailyWindow& operator=(const DailyWindow&) = delete;

    // Presses "&R실행"; returns "rows <count> <digest>", "refused" (another copy keeps
    // the database guard) or "error <the box's text>".
    std::string run() {
        boxes.clear();
        form->BitBtn1Click(form->BitBtn1);
        if (boxes.empty()) return "rows " + digestOf(form->Query1);
        if (boxes.front().text == mainform::kAnotherCopyAtWork) return "refused";
        return "error " + boxes.front().text;
    }

    TfmDay_Morvel_Form* form;
    TfmDAY_MORVEL_CODE_Update_Form* preparation;
    std::vector<forms::ShownMessage> boxes;
};

}  // namespace copies
