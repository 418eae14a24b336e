// The main window that the daily and the monthly program share: period and branch
// pick lists, the run, print, close and excel buttons, the result grid with its
// highlighting, and the two summary queries. Each program derives its main form from
// it and supplies what differs: its window layout (a table of positions, captions, grid
// options and widths), its period boxes and check, the period parameters and the
// report's period line, its run flag, preparation form and report form.
#pragma once

#include <QChar>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <string>
#include <vector>

#include "engine/query.h"
#include "forms/bit_btn.h"
#include "forms/combo_box.h"
#include "forms/data_source.h"
#include "forms/db_grid.h"
#include "forms/fields.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/panel.h"

namespace codeprep { class CodeUpdateForm; }
namespace report { struct QueryBinding; }
namespace summary_report { class AccountSummaryReportForm; }

namespace mainform {

// A label's caption and its place in the client area.
struct LabelLayout {
    const char* caption;
    QRect geometry;
};

// A control's left edge in the criteria strip and its place in the tab order.
struct StripPlace {
    int left;
    int tabOrder;
};

// What the two main windows' form definitions give differently.
struct WindowLayout {
    const char* name;     // the form's name, "fmDay_Morvel_Form"
    const char* caption;  // also the caption the pick lists write back after every key
    QSize outerSize;
    QPoint storedPosition;  // replaced by the centring of FormCreate
    LabelLayout label2, label4, label5, label3;
    StripPlace monthEnd, branch, run;
    int panelLeft;
    const char* panelCaption;
    int gridWidth;
    int gridTabOrder;
    forms::GridOptions gridOptions;
    int amountColumnWidth;  // pixels; 0: the field's display width decides
    int totalDisplayWidth;  // display width of Query1CR00 and Query1DR00
    const std::vector<std::string>& (*statement)();  // of Query1 and Query_Print
};

class SummaryMainForm : public forms::Form {
    Q_OBJECT
public:
    // runCheck is the program unit's run flag; printQuery the binding through which the
    // program's report form reads Query_Print, filled in here and emptied on destruction.
    SummaryMainForm(const WindowLayout& layout, std::string& runCheck, report::QueryBinding& printQuery,
                    QWidget* parent = nullptr);
    ~SummaryMainForm() override;

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
    forms::ComboBox* cbMonth_End;
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

    // Reruns Query_Print / Query1 with the period and branch the lists show now.
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
    void cbMonth_EndChange(QObject* Sender);
    void cbMonth_EndEnter(QObject* Sender);
    void cbMonth_EndExit(QObject* Sender);
    void cbKubunChange(QObject* Sender);
    void cbKubunEnter(QObject* Sender);
    void cbKubunExit(QObject* Sender);
    void FormClose(QObject* Sender, forms::CloseAction& Action);
    void DBGrid1DrawColumnCell(forms::DBGrid& Sender, const QRect& Rect, int DataCol, forms::Column& Column,
                               forms::DrawCellState State);

protected:
    // What each program does its own way.
    virtual void setDefaultPeriod() = 0;  // the period boxes' texts from today's date
    virtual bool periodAccepted() = 0;    // the run's period check; warns and moves the focus
    virtual std::string firstPeriodParameter() const = 0;  // tbFirst_Day
    virtual std::string endPeriodParameter() const = 0;    // tbEnd_Day
    virtual std::string reportPeriodCaption() const = 0;   // the report's qrlYear
    virtual codeprep::CodeUpdateForm& preparation() const = 0;
    // A new report form owned by the application, stored in the program's global.
    virtual summary_report::AccountSummaryReportForm& newReportForm() = 0;
    virtual void forgetInstance() = 0;  // clears the program's global main-form instance

    // A pick list of the criteria strip (items, events and input method as every box).
    forms::ComboBox* makePickList(const char* name, int left, int width, int tabOrder, const std::string& text);
    // Connects a box's change, enter and exit events to the given handlers, and its
    // key presses to cbYearKeyPress.
    template <class Form>
    void connectPickList(forms::ComboBox* box, void (Form::*change)(QObject*), void (Form::*enter)(QObject*),
                         void (Form::*exit)(QObject*)) {
        auto* self = static_cast<Form*>(this);
        box->onChange = [self, box, change] { (self->*change)(box); };
        box->onEnter = [self, box, enter] { (self->*enter)(box); };
        box->onExit = [self, box, exit] { (self->*exit)(box); };
        box->onKeyPress = [this, box](QChar& key) { cbYearKeyPress(box, key); };
    }

    // The warning for a start after the end, with the focus to cbMonth_End.
    void refuseOrder();

private:
    void buildControls();
    void defineFields();
    void buildGrid();
    void connectEvents();
    void searchWith(engine::Query& query);

    const WindowLayout& layout_;
    std::string& runCheck_;
    report::QueryBinding& printQuery_;
};

// Items "first" ... "last", each written with at least `digits` digits.
std::vector<std::string> numberedItems(int first, int last, int digits);

// The pick-list handlers of every box: one procedure per family, the box taken from
// the sender.
forms::ComboBox& pickListOf(QObject* sender);

}  // namespace mainform
