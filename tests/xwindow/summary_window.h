// A main window of either program on a copy of the tests' demo database, created the way start-up
// creates it, shown on the real screen and active, with real message boxes.
#pragma once

#include <QDate>
#include <QString>
#include <QWidget>
#include <string>

#include "demo_request_database.h"

namespace mainform { class SummaryMainForm; }
class TfmDay_Morvel_Form;

class SummaryWindow {
public:
    // `program` is "daily" or "monthly".
    explicit SummaryWindow(const QString& program, QDate today = QDate(2002, 5, 10));
    ~SummaryWindow();
    SummaryWindow(const SummaryWindow&) = delete;
    SummaryWindow& operator=(const SummaryWindow&) = delete;

    // Whether the window is up and active with the focus on a control.
    bool ok() const { return ok_; }
    bool isDaily() const { return daily_; }
    TfmDay_Morvel_Form* daily() const;
    QWidget* focused() const;
    // Waits until the window is active again with the focus on `control`.
    bool waitForFocus(const QWidget* control, int ms = 5000) const;
    // The period's texts; the monthly window takes the months alone.
    void setPeriod(const std::string& m1, const std::string& d1, const std::string& m2, const std::string& d2);
    // Runs the summary of 1 to 10 May with a click on "&R실행"; true once the grid shows rows.
    bool runMay();

    DemoDatabaseCopy database;  // first made, last gone: the window's queries run on it
    mainform::SummaryMainForm* form = nullptr;

private:
    bool daily_;
    QWidget* preparation_ = nullptr;
    bool ok_ = false;
};
