// The account summary report form: the daily and the monthly report form are this one
// layout with different form data (title, form name, data set name, three detail boxes).
// The form is never shown; it holds the report, whose preview the print request opens.
#pragma once

#include <memory>
#include <string>

#include "forms/form.h"
#include "report/query_data_set.h"

namespace report {
class Band;
class DBText;
class Label;
class Report;
class SysData;
}  // namespace report

namespace summary_report {

// Where a data text of the detail band stands: left edge and width in layout units.
struct TextBox {
    int left;
    int width;
};

// What differs between the daily and the monthly report form.
struct FormData {
    std::string formName;     // also the caption
    std::string title;        // the report's title, "일 계 표" or "월 계 표"
    std::string dataSetName;  // the main form's print query, "fmDay_Morvel_Form.Query_Print"
    TextBox debitCash;        // QRDBText4
    TextBox accountTitle;     // QRDBText5
    TextBox creditCash;       // QRDBText3
    void (*forgetInstance)(); // FormClose clears the unit's global instance with this
};

// What closing the form does with it.
enum class CloseAction { None, Hide, Free, Minimize };

class AccountSummaryReportForm : public forms::Form {
    Q_OBJECT
public:
    // printQuery is the binding of the main form's print query and its persistent fields,
    // which that form fills in and empties again; the report and the font rule read it
    // as it stands. Without a parent the form belongs to the application: it is freed
    // when the application's event loop ends.
    AccountSummaryReportForm(const FormData& data, const report::QueryBinding& printQuery,
                             QWidget* parent = nullptr);
    ~AccountSummaryReportForm() override;

    // Components, in the order of the form definition.
    report::Report* QuickRep1;
    report::Band* QRBand1;
    report::Label* QRLabel1;
    report::Label* qrlYear;
    report::Label* qrlKubun;
    report::Label* QRLabel3;
    report::Band* ChildBand1;
    report::Band* QRBand2;
    report::DBText* QRDBText1;
    report::DBText* QRDBText2;
    report::DBText* QRDBText3;
    report::DBText* QRDBText4;
    report::DBText* QRDBText5;
    report::Band* QRBand3;
    report::SysData* QRSysData1;
    report::SysData* QRSysData2;
    report::DBText* QRDBText6;
    report::DBText* QRDBText7;
    report::Label* QRLabel8;
    report::Label* QRLabel9;
    report::Label* QRLabel13;
    report::Label* QRLabel10;
    report::Label* QRLabel14;
    report::Label* QRLabel11;
    report::Label* QRLabel12;

    // OnClose of the form: forgets the global instance and has the form freed.
    void FormClose(QObject* Sender, CloseAction& Action);
    // BeforePrint of the detail band: the font rule for the row about to print.
    void QRBand2BeforePrint(report::Band& Sender, bool& PrintBand);

    // The name of the data set the report and its data texts are bound to.
    const std::string& dataSetName() const { return data_.dataSetName; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();

    FormData data_;
    const report::QueryBinding& printQuery_;
    std::unique_ptr<report::Report> report_;
};

}  // namespace summary_report
