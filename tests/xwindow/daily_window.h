// The daily main window on a small demo database, created the way start-up creates it,
// shown on the real screen and active, with real message boxes.
#pragma once

#include <QDate>
#include <QWidget>
#include <string>

class TfmDay_Morvel_Form;
class TfmDAY_MORVEL_CODE_Update_Form;

class DailyWindow {
public:
    explicit DailyWindow(QDate today = QDate(2002, 5, 10));
    ~DailyWindow();
    DailyWindow(const DailyWindow&) = delete;
    DailyWindow& operator=(const DailyWindow&) = delete;

    // Whether the window is up and active with the focus on a control.
    bool ok() const { return ok_; }
    QWidget* focused() const;
    // Waits until the window is active again with the focus on `control`.
    bool waitForFocus(const QWidget* control, int ms = 5000) const;
    void setPeriod(const std::string& m1, const std::string& d1, const std::string& m2, const std::string& d2);

    TfmDay_Morvel_Form* form = nullptr;

private:
    std::string path_;
    TfmDAY_MORVEL_CODE_Update_Form* codeUpdate_ = nullptr;
    bool ok_ = false;
};
