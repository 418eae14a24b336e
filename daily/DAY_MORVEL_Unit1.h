// The daily program's main window: period and branch pick lists, the run, print,
// close and excel buttons, the result grid, and the two summary queries.
#pragma once

#include <QChar>
#include <QObject>
#include <string>

#include "engine/query.h"
#include "forms/bit_btn.h"
#include "forms/combo_box.h"
#include "forms/data_source.h"
#include "forms/db_grid.h"
#include "forms/fields.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/panel.h"

class TfmDay_Morvel_Form : public forms::Form {
    Q_OBJECT
public:
    explicit TfmDay_Morvel_Form(QWidget* parent = nullptr);

    // The window's caption, which the pick lists write back after every key.
    static constexpr const char* kCaption = "일계표 입니다.";

    forms::Label* Label1;
    forms::Label* Label2;
    forms::Label* Label3;
    forms::Panel* Panel7;
    forms::BitBtn* PrintBtn;
    forms::BitBtn* CloseBtn;
    forms::BitBtn* CancelBtn;
    forms::ComboBox* cbYear;
    forms::ComboBox* cbMonth_First;
    forms::BitBtn* BitBtn1;
    forms::ComboBox* cbKubun;
    forms::DataSource DataSource1{"DataSource1"};
    engine::Query Query2{"Account"};
    forms::ComboBox* cbDay_First;
    forms::ComboBox* cbMonth_End;
    forms::ComboBox* cbDay_End;
    forms::Label* Label4;
    forms::Label* Label5;
    engine::Query Query1{"Account"};
    forms::StringField Query1AC_CODE{"Query1AC_CODE", "AC_CODE", &Query1, 12};
    forms::FloatField Query1CR00{"Query1CR00", "CR00", &Query1};
    forms::FloatField Query1CR01{"Query1CR01", "CR01", &Query1};
    forms::FloatField Query1CR01_CASH{"Query1CR01_CASH", "CR01_CASH", &Query1};
    forms::StringField Query1AC_NAME{"Query1AC_NAME", "AC_NAME", &Query1, 90};
    forms::FloatField Query1DR01_CASH{"Query1DR01_CASH", "DR01_CASH", &Query1};
    forms::FloatField Query1DR01{"Query1DR01", "DR01", &Query1};
    forms::FloatField Query1DR00{"Query1DR00", "DR00", &Query1};
    forms::DBGrid* DBGrid1;
    engine::Query Query_Print{"Account"};
    forms::StringField StringField1{"StringField1", "AC_CODE", &Query_Print, 12};
    forms::FloatField FloatField1{"FloatField1", "CR00", &Query_Print};
    forms::FloatField FloatField2{"FloatField2", "CR01", &Query_Print};
    forms::FloatField FloatField3{"FloatField3", "CR01_CASH", &Query_Print};
    forms::StringField StringField2{"StringField2", "AC_NAME", &Query_Print, 90};
    forms::FloatField FloatField4{"FloatField4", "DR01_CASH", &Query_Print};
    forms::FloatField FloatField5{"FloatField5", "DR01", &Query_Print};
    forms::FloatField FloatField6{"FloatField6", "DR00", &Query_Print};

    // Reruns Query1 / Query_Print with the period and branch the lists show now.
    void Query_Search_Print();
    void Query_Search();
    void FormCreate(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
    void PrintBtnClick(QObject* Sender);
    void CancelBtnClick(QObject* Sender);
    void CloseBtnClick(QObject* Sender);
    void cbYearChange(QObject* Sender);
    void cbYearEnter(QObject* Sender);
    void cbYearExit(QObject* Sender);
    void cbYearKeyPress(QObject* Sender, QChar& Key);
    void cbMonth_FirstChange(QObject* Sender);
    void cbMonth_FirstEnter(QObject* Sender);
    void cbMonth_FirstExit(QObject* Sender);
    void cbDay_FirstChange(QObject* Sender);
    void cbDay_FirstEnter(QObject* Sender);
    void cbDay_FirstExit(QObject* Sender);
    void cbMonth_EndChange(QObject* Sender);
    void cbMonth_EndEnter(QObject* Sender);
    void cbMonth_EndExit(QObject* Sender);
    void cbDay_EndChange(QObject* Sender);
    void cbDay_EndEnter(QObject* Sender);
    void cbDay_EndExit(QObject* Sender);
    void cbKubunChange(QObject* Sender);
    void cbKubunEnter(QObject* Sender);
    void cbKubunExit(QObject* Sender);
    void FormClose(QObject* Sender, forms::CloseAction& Action);
    void DBGrid1DrawColumnCell(forms::DBGrid& Sender, const QRect& Rect, int DataCol, forms::Column& Column,
                               forms::DrawCellState State);

private:
    // The run request's period checks: the order of the two dates, then each date as a
    // calendar date. Warns and moves the focus on the first that fails.
    bool periodAccepted();
    void buildControls();
    void defineFields();
    void buildGrid();
    void connectEvents();
    forms::ComboBox* makePickList(const char* name, int left, int top, int width, int tabOrder,
                                  const std::string& text);
    // Reruns one summary query with the lists' period and branch.
    void searchWith(engine::Query& query);
};

// The one instance of the main window; set at start-up, cleared by FormClose.
extern TfmDay_Morvel_Form* fmDay_Morvel_Form;

// The unit's run flag: empty at program start, "NN" once FormCreate has finished,
// "YY" after a run.
std::string& DayRunCheck();
