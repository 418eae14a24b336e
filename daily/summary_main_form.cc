#include "summary_main_form.h"

#include <algorithm>

#include "account_summary_report_form.h"
#include "code_update_form.h"
#include "forms/font.h"
#include "forms/message_box.h"
#include "forms/platform.h"
#include "mainform_branches.h"
#include "mainform_glyphs.h"
#include "mainform_pick_lists.h"
#include "mainform_placement.h"
#include "mainform_requests.h"
#include "mainform_roll_up_row.h"
#include "report/query_data_set.h"
#include "report/report.h"
#include "report/texts.h"

namespace mainform {
namespace {

const QString kKoreanInputMethod = QStringLiteral("한국어(한글)");
constexpr int kStripTop = 20;  // top of the pick lists
constexpr int kPickListHeight = 21;

forms::Label* makeLabel(QWidget* parent, const char* name, const LabelLayout& layout, const QColor& color) {
    auto* label = new forms::Label(name, layout.caption, parent);
    forms::setControlFont(label, forms::gulimFont(13, true), color);
    // Labels size themselves to their text: never narrower than it.
    const QSize text = label->sizeHint();
    const QRect& g = layout.geometry;
    label->setGeometry(g.x(), g.y(), std::max(g.width(), text.width()), std::max(g.height(), text.height()));
    return label;
}

}  // namespace

std::vector<std::string> numberedItems(int first, int last, int digits) {
    std::vector<std::string> items;
    for (int n = first; n <= last; ++n) {
        std::string text = std::to_string(n);
        if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
        items.push_back(text);
    }
    return items;
}

forms::ComboBox& pickListOf(QObject* sender) { return *qobject_cast<forms::ComboBox*>(sender); }

SummaryMainForm::SummaryMainForm(const WindowLayout& layout, std::string& runCheck,
                                 report::QueryBinding& printQuery, QWidget* parent)
    : forms::Form(layout.name, parent), layout_(layout), runCheck_(runCheck), printQuery_(printQuery) {
    setCaption(layout.caption);
    setOuterSize(layout.outerSize.width(), layout.outerSize.height());
    move(layout.storedPosition);
    setColor(forms::kClBtnFace);
    setFont(forms::gulimFont(13));
    buildControls();
    defineFields();
    buildGrid();
    connectEvents();
    applyTabOrder();
    onCreate = [this] { FormCreate(this); };
    onClose = [this](forms::CloseAction& action) { FormClose(this, action); };
    // The report form reads this window's print query and its persistent fields.
    printQuery_.query = &Query_Print;
    printQuery_.fields = {&StringField1, &FloatField1, &FloatField2, &FloatField3,
                          &StringField2, &FloatField4, &FloatField5, &FloatField6};
}

SummaryMainForm::~SummaryMainForm() {
    if (printQuery_.query == &Query_Print) printQuery_ = report::QueryBinding{};
    // The grid goes before the fields and the query it shows, which are members.
    delete DBGrid1;
    DBGrid1 = nullptr;
}

forms::ComboBox* SummaryMainForm::makePickList(const char* name, int left, int width, int tabOrder,
                                               const std::string& text) {
    auto* box = new forms::ComboBox(name, this);
    box->setGeometry(left, kStripTop, width, kPickListHeight);
    box->setImeName(kKoreanInputMethod);
    box->setItemHeight(13);
    box->setText(text);
    forms::setTabOrder(box, tabOrder);
    return box;
}

void SummaryMainForm::buildControls() {
    Label1 = makeLabel(this, "Label1", {"기준년도", {17, 5, 57, 13}}, forms::kClGreen);
    Label2 = makeLabel(this, "Label2", layout_.label2, forms::kClMaroon);
    Label3 = makeLabel(this, "Label3", layout_.label3, forms::kClGreen);

    Panel7 = new forms::Panel("Panel7", this);
    Panel7->setGeometry(layout_.panelLeft, 6, 257, 39);
    Panel7->setCaption(layout_.panelCaption);
    Panel7->setLoweredBevels();
    forms::setControlFont(Panel7, forms::gulimFont(15, true), forms::kClGreen);
    forms::setTabOrder(Panel7, 0);

    PrintBtn = new forms::BitBtn("PrintBtn", "P 출력", Panel7);
    PrintBtn->setGeometry(9, 7, 80, 25);
    PrintBtn->setGlyph(printerGlyph());
    forms::setTabOrder(PrintBtn, 0);

    CloseBtn = new forms::BitBtn("CloseBtn", "&X 종료", Panel7);
    CloseBtn->setGeometry(169, 7, 80, 25);
    CloseBtn->setGlyph(openDoorGlyph());
    forms::setTabOrder(CloseBtn, 1);

    CancelBtn = new forms::BitBtn("CancelBtn", "&E엑셀", Panel7);
    CancelBtn->setGeometry(89, 7, 80, 25);
    forms::setControlFont(CancelBtn, forms::gulimFont(15, true), forms::kClGreen);
    CancelBtn->setGlyph(documentsGlyph());
    forms::setTabOrder(CancelBtn, 2);

    cbYear = makePickList("cbYear", 17, 51, 1, "2001");
    cbYear->setItems(numberedItems(2000, 2011, 4));
    cbMonth_First = makePickList("cbMonth_First", 88, 38, 2, "01");
    cbMonth_First->setItems(numberedItems(1, 12, 2));

    BitBtn1 = new forms::BitBtn("BitBtn1", "&R실행", this);
    BitBtn1->setGeometry(layout_.run.left, 17, 80, 25);
    forms::setControlFont(BitBtn1, forms::gulimFont(13, true), forms::kClMaroon);
    BitBtn1->setGlyph(checkMarkGlyph());
    forms::setTabOrder(BitBtn1, layout_.run.tabOrder);

    cbKubun = makePickList("cbKubun", layout_.branch.left, 92, layout_.branch.tabOrder, "cbKubun");
    cbKubun->move(layout_.branch.left, 22);  // two pixels below the period boxes

    cbMonth_End = makePickList("cbMonth_End", layout_.monthEnd.left, 38, layout_.monthEnd.tabOrder, "01");
    cbMonth_End->setItems(numberedItems(1, 12, 2));

    Label4 = makeLabel(this, "Label4", layout_.label4, forms::kClPurple);
    Label5 = makeLabel(this, "Label5", layout_.label5, forms::kClBlue);
}

void SummaryMainForm::defineFields() {
    // Both summary queries hold the same statement.
    for (engine::Query* query : {&Query1, &Query_Print})
        for (const std::string& line : layout_.statement()) query->sql().add(line);
    auto amount = [](forms::FloatField& field, const char* label, int width) {
        field.setDisplayLabel(label);
        field.setDisplayWidth(width);
        field.setDisplayFormat("#,###");
    };
    auto code = [](forms::StringField& field) { field.setFixedChar(true); };
    auto title = [](forms::StringField& field) {
        field.setFixedChar(true);
        field.setAlignment(forms::Alignment::Center);
        field.setDisplayLabel("계     정     과     목");
        field.setDisplayWidth(40);
    };

    code(Query1AC_CODE);
    amount(Query1CR00, "차변 전체 합계", layout_.totalDisplayWidth);
    amount(Query1CR01, "차변 대체 합계", 15);
    amount(Query1CR01_CASH, "차변 현금 합계", 15);
    title(Query1AC_NAME);
    amount(Query1DR01_CASH, "대변 현금 합계", 15);
    amount(Query1DR01, "대변 대체 합계", 15);
    amount(Query1DR00, "대변 전체 합계", layout_.totalDisplayWidth);

    code(StringField1);
    amount(FloatField1, "차변 전체 합계", 15);
    amount(FloatField2, "차변 대체 합계", 15);
    amount(FloatField3, "차변 현금 합계", 15);
    title(StringField2);
    amount(FloatField4, "대변 현금 합계", 15);
    amount(FloatField5, "대변 대체 합계", 15);
    amount(FloatField6, "대변 전체 합계", 15);
}

void SummaryMainForm::buildGrid() {
    DataSource1.setDataSet(&Query1);
    DBGrid1 = new forms::DBGrid("DBGrid1", this);
    DBGrid1->setGeometry(0, 52, layout_.gridWidth, 616);
    DBGrid1->setFont(forms::gulimFont(12));
    DBGrid1->setTitleFont(forms::gulimFont(13));
    DBGrid1->setImeName(kKoreanInputMethod.toStdString());
    DBGrid1->setDataSource(&DataSource1);
    DBGrid1->setOptions(layout_.gridOptions);
    // The code column is there but never seen; the amounts take the layout's width or
    // their field's display width, the title always its field's.
    for (forms::Field* field : std::vector<forms::Field*>{&Query1AC_CODE, &Query1CR00, &Query1CR01, &Query1CR01_CASH,
                                                          &Query1AC_NAME, &Query1DR01_CASH, &Query1DR01, &Query1DR00}) {
        forms::Column& column = DBGrid1->addColumn(field);
        column.setTitleAlignment(forms::Alignment::Center);
        if (field == &Query1AC_CODE) column.setWidth(0);
        else if (field != &Query1AC_NAME && layout_.amountColumnWidth > 0) column.setWidth(layout_.amountColumnWidth);
    }
    DBGrid1->setOnDrawColumnCell([this](forms::DBGrid& grid, const QRect& rect, int dataCol, forms::Column& column,
                                        forms::DrawCellState state) {
        DBGrid1DrawColumnCell(grid, rect, dataCol, column, state);
    });
    forms::setTabOrder(DBGrid1, layout_.gridTabOrder);
    alignBottom(DBGrid1);
}

void SummaryMainForm::connectEvents() {
    PrintBtn->onClick = [this] { PrintBtnClick(PrintBtn); };
    CloseBtn->onClick = [this] { CloseBtnClick(CloseBtn); };
    CancelBtn->onClick = [this] { CancelBtnClick(CancelBtn); };
    BitBtn1->onClick = [this] { BitBtn1Click(BitBtn1); };
    using F = SummaryMainForm;
    connectPickList(cbYear, &F::cbYearChange, &F::cbYearEnter, &F::cbYearExit);
    connectPickList(cbMonth_First, &F::cbMonth_FirstChange, &F::cbMonth_FirstEnter, &F::cbMonth_FirstExit);
    connectPickList(cbMonth_End, &F::cbMonth_EndChange, &F::cbMonth_EndEnter, &F::cbMonth_EndExit);
    connectPickList(cbKubun, &F::cbKubunChange, &F::cbKubunEnter, &F::cbKubunExit);
}

void SummaryMainForm::searchWith(engine::Query& query) {
    query.disableControls();
    try {
        query.close();
        query.paramByName("tbFirst_Day").setAsString(firstPeriodParameter());
        query.paramByName("tbEnd_Day").setAsString(endPeriodParameter());
        query.paramByName("tbKubun_Bon").setAsString(branchParameter(cbKubun->itemIndex()));
        query.open();
    } catch (...) {
        query.enableControls();
        throw;
    }
    query.enableControls();
}

void SummaryMainForm::Query_Search_Print() { searchWith(Query_Print); }

void SummaryMainForm::Query_Search() { searchWith(Query1); }

void SummaryMainForm::FormCreate(QObject*) {
    centreMainWindow(*this);
    setDefaultPeriod();
    loadBranchList(Query2, *cbKubun);
    runCheck_ = "NN";
}

void SummaryMainForm::refuseOrder() {
    forms::showWarning("종료일자보다 시작일자 더 큽니다......");
    cbMonth_End->setFocus();
}

void SummaryMainForm::BitBtn1Click(QObject*) {
    if (!pickListsHoldEntries(*this) || !periodAccepted()) return;
    forms::setScreenCursor(forms::ScreenCursor::HourGlass);
    runPrepared(preparation(), [this] {
        Query_Search();
        runCheck_ = "YY";
        forms::setScreenCursor(forms::ScreenCursor::Default);
    });
}

void SummaryMainForm::PrintBtnClick(QObject*) {
    if (!pickListsHoldEntries(*this)) return;
    runPrepared(preparation(), [this] {
        Query_Search_Print();
        if (!Query1.active() || !Query_Print.active() || Query_Print.recordCount() == 0 || Query1.recordCount() == 0)
            return;
        if (runCheck_ != "YY") {
            forms::showWarning("실행 번튼을 먼저 실행 하세요.....");
            PrintBtn->setFocus();
            runCheck_ = "NN";
            return;
        }
        summary_report::AccountSummaryReportForm& reportForm = newReportForm();
        reportForm.qrlYear->setCaption(reportPeriodCaption());
        reportForm.qrlKubun->setCaption("구 분 : " + cbKubun->text());
        {
            // A run or print started from the waiting preview would prepare the work
            // table a second time: the two buttons stay off until the preview closes.
            RequestsRefused refused{{BitBtn1, PrintBtn}};
            // The preview shows the rows already read: other copies need not wait for it.
            OthersMayWork othersMayWork(preparation());
            reportForm.QuickRep1->preview();
        }
        runCheck_ = "NN";
    });
}

void SummaryMainForm::CancelBtnClick(QObject*) {}

void SummaryMainForm::CloseBtnClick(QObject*) { close(); }

void SummaryMainForm::cbYearChange(QObject* Sender) { pickListChange(pickListOf(Sender)); }
void SummaryMainForm::cbYearEnter(QObject* Sender) { pickListEnter(pickListOf(Sender)); }
void SummaryMainForm::cbYearExit(QObject* Sender) { pickListExit(pickListOf(Sender)); }

void SummaryMainForm::cbYearKeyPress(QObject* Sender, QChar& Key) {
    pickListKeyPress(*this, pickListOf(Sender), Key, layout_.caption);
}

void SummaryMainForm::cbMonth_FirstChange(QObject* Sender) { pickListChange(pickListOf(Sender)); }
void SummaryMainForm::cbMonth_FirstEnter(QObject* Sender) { pickListEnter(pickListOf(Sender)); }
void SummaryMainForm::cbMonth_FirstExit(QObject* Sender) { pickListExit(pickListOf(Sender)); }
void SummaryMainForm::cbMonth_EndChange(QObject* Sender) { pickListChange(pickListOf(Sender)); }
void SummaryMainForm::cbMonth_EndEnter(QObject* Sender) { pickListEnter(pickListOf(Sender)); }
void SummaryMainForm::cbMonth_EndExit(QObject* Sender) { pickListExit(pickListOf(Sender)); }
void SummaryMainForm::cbKubunChange(QObject* Sender) { pickListChange(pickListOf(Sender)); }
void SummaryMainForm::cbKubunEnter(QObject* Sender) { pickListEnter(pickListOf(Sender)); }
void SummaryMainForm::cbKubunExit(QObject* Sender) { pickListExit(pickListOf(Sender)); }

void SummaryMainForm::DBGrid1DrawColumnCell(forms::DBGrid& Sender, const QRect& Rect, int DataCol,
                                            forms::Column& Column, forms::DrawCellState) {
    drawRollUpCell(Sender, Rect, DataCol, Column, Query1AC_CODE);
}

void SummaryMainForm::FormClose(QObject*, forms::CloseAction& Action) {
    if (!cleanUpAtClose(preparation())) {
        Action = forms::CloseAction::None;  // the window stays; a later close tries again
        return;
    }
    forgetInstance();
    Action = forms::CloseAction::Free;
}

}  // namespace mainform
