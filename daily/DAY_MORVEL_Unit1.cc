#include "DAY_MORVEL_Unit1.h"

#include <algorithm>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "DAY_MORVEL_Unit1_Print01.h"
#include "forms/date_format.h"
#include "report/report.h"
#include "report/texts.h"
#include "forms/font.h"
#include "forms/message_box.h"
#include "forms/platform.h"
#include "mainform_requests.h"
#include "DAY_MORVEL_summary_sql.h"
#include "forms/roll_up_row.h"
#include "mainform_branches.h"
#include "mainform_glyphs.h"
#include "mainform_period.h"
#include "mainform_pick_lists.h"
#include "mainform_placement.h"

TfmDay_Morvel_Form* fmDay_Morvel_Form = nullptr;

namespace {

// The unit's run flag (not a field of the form).
std::string Run_Check;

const QString kKoreanInputMethod = QStringLiteral("한국어(한글)");

forms::ComboBox& boxOf(QObject* sender) { return *qobject_cast<forms::ComboBox*>(sender); }

std::vector<std::string> numberedItems(int first, int last, int digits) {
    std::vector<std::string> items;
    for (int n = first; n <= last; ++n) {
        std::string text = std::to_string(n);
        if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
        items.push_back(text);
    }
    return items;
}

forms::Label* makeLabel(QWidget* parent, const char* name, const char* caption, QRect geometry,
                        const QColor& color) {
    auto* label = new forms::Label(name, caption, parent);
    forms::setControlFont(label, forms::gulimFont(13, true), color);
    // Labels size themselves to their text: never narrower than it.
    const QSize text = label->sizeHint();
    label->setGeometry(geometry.x(), geometry.y(), std::max(geometry.width(), text.width()),
                       std::max(geometry.height(), text.height()));
    return label;
}

// The report form reads the main window's print query and its persistent fields.
[[maybe_unused]] const bool kReportBoundToPrintQuery = [] {
    TqrfmDay_Morvel_Form::printQuery() = [] {
        report::QueryBinding binding;
        if (TfmDay_Morvel_Form* form = fmDay_Morvel_Form) {
            binding.query = &form->Query_Print;
            binding.fields = {&form->StringField1, &form->FloatField1, &form->FloatField2, &form->FloatField3,
                              &form->StringField2, &form->FloatField4, &form->FloatField5, &form->FloatField6};
        }
        return binding;
    };
    return true;
}();

}  // namespace

std::string& DayRunCheck() { return Run_Check; }

TfmDay_Morvel_Form::TfmDay_Morvel_Form(QWidget* parent) : forms::Form("fmDay_Morvel_Form", parent) {
    setCaption(kCaption);
    setOuterSize(960, 695);
    move(45, 135);
    setColor(forms::kClBtnFace);
    setFont(forms::gulimFont(13));
    buildControls();
    defineFields();
    buildGrid();
    connectEvents();
    applyTabOrder();
    onCreate = [this] { FormCreate(this); };
    onClose = [this](forms::CloseAction& action) { FormClose(this, action); };
}

forms::ComboBox* TfmDay_Morvel_Form::makePickList(const char* name, int left, int top, int width, int tabOrder,
                                                  const std::string& text) {
    auto* box = new forms::ComboBox(name, this);
    box->setGeometry(left, top, width, 21);
    box->setImeName(kKoreanInputMethod);
    box->setItemHeight(13);
    box->setText(text);
    forms::setTabOrder(box, tabOrder);
    return box;
}

void TfmDay_Morvel_Form::buildControls() {
    Label1 = makeLabel(this, "Label1", "기준년도", {17, 5, 57, 13}, forms::kClGreen);
    Label2 = makeLabel(this, "Label2", "시 작   월 일", {88, 5, 82, 13}, forms::kClMaroon);
    Label3 = makeLabel(this, "Label3", "본지점구분", {400, 6, 71, 13}, forms::kClGreen);

    Panel7 = new forms::Panel("Panel7", this);
    Panel7->setGeometry(680, 6, 257, 39);
    Panel7->setLoweredBevels();
    forms::setControlFont(Panel7, forms::gulimFont(15, true), forms::kClGreen);
    forms::setTabOrder(Panel7, 0);

    PrintBtn = new forms::BitBtn("PrintBtn", "P 출력", Panel7);
    PrintBtn->setGeometry(9, 7, 80, 25);
    PrintBtn->setGlyph(mainform::printerGlyph());
    forms::setTabOrder(PrintBtn, 0);

    CloseBtn = new forms::BitBtn("CloseBtn", "&X 종료", Panel7);
    CloseBtn->setGeometry(169, 7, 80, 25);
    CloseBtn->setGlyph(mainform::openDoorGlyph());
    forms::setTabOrder(CloseBtn, 1);

    CancelBtn = new forms::BitBtn("CancelBtn", "&E엑셀", Panel7);
    CancelBtn->setGeometry(89, 7, 80, 25);
    forms::setControlFont(CancelBtn, forms::gulimFont(15, true), forms::kClGreen);
    CancelBtn->setGlyph(mainform::documentsGlyph());
    forms::setTabOrder(CancelBtn, 2);

    cbYear = makePickList("cbYear", 17, 20, 51, 1, "2001");
    cbYear->setItems(numberedItems(2000, 2011, 4));
    cbMonth_First = makePickList("cbMonth_First", 88, 20, 38, 2, "01");
    cbMonth_First->setItems(numberedItems(1, 12, 2));

    BitBtn1 = new forms::BitBtn("BitBtn1", "&R실행", this);
    BitBtn1->setGeometry(511, 17, 80, 25);
    forms::setControlFont(BitBtn1, forms::gulimFont(13, true), forms::kClMaroon);
    BitBtn1->setGlyph(mainform::checkMarkGlyph());
    forms::setTabOrder(BitBtn1, 7);

    cbKubun = makePickList("cbKubun", 400, 22, 92, 6, "cbKubun");

    cbDay_First = makePickList("cbDay_First", 132, 20, 38, 3, "01");
    cbDay_First->setItems(numberedItems(1, 31, 2));
    cbMonth_End = makePickList("cbMonth_End", 208, 20, 38, 4, "01");
    cbMonth_End->setItems(numberedItems(1, 12, 2));
    cbDay_End = makePickList("cbDay_End", 252, 20, 38, 5, "01");
    cbDay_End->setItems(numberedItems(1, 31, 2));

    Label4 = makeLabel(this, "Label4", "종 료   월 일", {208, 5, 82, 13}, forms::kClPurple);
    Label5 = makeLabel(this, "Label5", "부터", {176, 24, 29, 13}, forms::kClBlue);

}

void TfmDay_Morvel_Form::defineFields() {
    // Both summary queries hold the same statement.
    for (engine::Query* query : {&Query1, &Query_Print})
        for (const std::string& line : daily::summaryStatementLines()) query->sql().add(line);
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
    amount(Query1CR00, "차변 전체 합계", 17);
    amount(Query1CR01, "차변 대체 합계", 15);
    amount(Query1CR01_CASH, "차변 현금 합계", 15);
    title(Query1AC_NAME);
    amount(Query1DR01_CASH, "대변 현금 합계", 15);
    amount(Query1DR01, "대변 대체 합계", 15);
    amount(Query1DR00, "대변 전체 합계", 17);

    code(StringField1);
    amount(FloatField1, "차변 전체 합계", 15);
    amount(FloatField2, "차변 대체 합계", 15);
    amount(FloatField3, "차변 현금 합계", 15);
    title(StringField2);
    amount(FloatField4, "대변 현금 합계", 15);
    amount(FloatField5, "대변 대체 합계", 15);
    amount(FloatField6, "대변 전체 합계", 15);
}

void TfmDay_Morvel_Form::buildGrid() {
    DataSource1.setDataSet(&Query1);
    DBGrid1 = new forms::DBGrid("DBGrid1", this);
    DBGrid1->setGeometry(0, 52, 952, 616);
    DBGrid1->setFont(forms::gulimFont(12));
    DBGrid1->setTitleFont(forms::gulimFont(13));
    DBGrid1->setImeName(kKoreanInputMethod.toStdString());
    DBGrid1->setDataSource(&DataSource1);
    using forms::GridOption;
    DBGrid1->setOptions(GridOption::dgAlwaysShowEditor | GridOption::dgTitles | GridOption::dgIndicator |
                        GridOption::dgColumnResize | GridOption::dgColLines | GridOption::dgRowLines |
                        GridOption::dgTabs | GridOption::dgCancelOnExit);
    // The code column is there but never seen; the amounts are 110 pixels wide, the
    // title takes its field's display width.
    for (forms::Field* field : std::vector<forms::Field*>{&Query1AC_CODE, &Query1CR00, &Query1CR01, &Query1CR01_CASH,
                                                          &Query1AC_NAME, &Query1DR01_CASH, &Query1DR01, &Query1DR00}) {
        forms::Column& column = DBGrid1->addColumn(field);
        column.setTitleAlignment(forms::Alignment::Center);
        if (field != &Query1AC_NAME) column.setWidth(field == &Query1AC_CODE ? 0 : 110);
    }
    DBGrid1->setOnDrawColumnCell([this](forms::DBGrid& grid, const QRect& rect, int dataCol, forms::Column& column,
                                        forms::DrawCellState state) {
        DBGrid1DrawColumnCell(grid, rect, dataCol, column, state);
    });
    forms::setTabOrder(DBGrid1, 8);
    alignBottom(DBGrid1);
}

void TfmDay_Morvel_Form::connectEvents() {
    PrintBtn->onClick = [this] { PrintBtnClick(PrintBtn); };
    CloseBtn->onClick = [this] { CloseBtnClick(CloseBtn); };
    CancelBtn->onClick = [this] { CancelBtnClick(CancelBtn); };
    BitBtn1->onClick = [this] { BitBtn1Click(BitBtn1); };

    struct Handlers {
        forms::ComboBox* box;
        void (TfmDay_Morvel_Form::*change)(QObject*);
        void (TfmDay_Morvel_Form::*enter)(QObject*);
        void (TfmDay_Morvel_Form::*exit)(QObject*);
    };
    const Handlers table[] = {
        {cbYear, &TfmDay_Morvel_Form::cbYearChange, &TfmDay_Morvel_Form::cbYearEnter,
         &TfmDay_Morvel_Form::cbYearExit},
        {cbMonth_First, &TfmDay_Morvel_Form::cbMonth_FirstChange, &TfmDay_Morvel_Form::cbMonth_FirstEnter,
         &TfmDay_Morvel_Form::cbMonth_FirstExit},
        {cbDay_First, &TfmDay_Morvel_Form::cbDay_FirstChange, &TfmDay_Morvel_Form::cbDay_FirstEnter,
         &TfmDay_Morvel_Form::cbDay_FirstExit},
        {cbMonth_End, &TfmDay_Morvel_Form::cbMonth_EndChange, &TfmDay_Morvel_Form::cbMonth_EndEnter,
         &TfmDay_Morvel_Form::cbMonth_EndExit},
        {cbDay_End, &TfmDay_Morvel_Form::cbDay_EndChange, &TfmDay_Morvel_Form::cbDay_EndEnter,
         &TfmDay_Morvel_Form::cbDay_EndExit},
        {cbKubun, &TfmDay_Morvel_Form::cbKubunChange, &TfmDay_Morvel_Form::cbKubunEnter,
         &TfmDay_Morvel_Form::cbKubunExit},
    };
    for (const Handlers& h : table) {
        forms::ComboBox* box = h.box;
        box->onChange = [this, box, f = h.change] { (this->*f)(box); };
        box->onEnter = [this, box, f = h.enter] { (this->*f)(box); };
        box->onExit = [this, box, f = h.exit] { (this->*f)(box); };
        box->onKeyPress = [this, box](QChar& key) { cbYearKeyPress(box, key); };
    }
}

void TfmDay_Morvel_Form::searchWith(engine::Query& query) {
    query.disableControls();
    try {
        query.close();
        query.paramByName("tbFirst_Day")
            .setAsString(cbYear->text() + "-" + cbMonth_First->text() + "-" + cbDay_First->text());
        query.paramByName("tbEnd_Day").setAsString(cbYear->text() + "-" + cbMonth_End->text() + "-" + cbDay_End->text());
        query.paramByName("tbKubun_Bon").setAsString(mainform::branchParameter(cbKubun->itemIndex()));
        query.open();
    } catch (...) {
        query.enableControls();
        throw;
    }
    query.enableControls();
}

void TfmDay_Morvel_Form::Query_Search_Print() { searchWith(Query_Print); }

void TfmDay_Morvel_Form::Query_Search() { searchWith(Query1); }

void TfmDay_Morvel_Form::FormCreate(QObject*) {
    mainform::centreMainWindow(*this);
    cbYear->setText(mainform::todayCharacters(1, 4));
    cbMonth_First->setText(mainform::todayCharacters(6, 2));
    cbDay_First->setText(mainform::todayCharacters(9, 2));
    cbMonth_End->setText(mainform::todayCharacters(6, 2));
    cbDay_End->setText(mainform::todayCharacters(9, 2));
    mainform::loadBranchList(Query2, *cbKubun);
    Run_Check = "NN";
}

void TfmDay_Morvel_Form::BitBtn1Click(QObject*) {
    if (!periodAccepted()) return;
    forms::setScreenCursor(forms::ScreenCursor::HourGlass);
    mainform::runPrepared(*fmDAY_MORVEL_CODE_Update_Form, [this] {
        Query_Search();
        Run_Check = "YY";
        forms::setScreenCursor(forms::ScreenCursor::Default);
    });
}

bool TfmDay_Morvel_Form::periodAccepted() {
    // The two month-day keys compare as texts; the year is the same for both.
    const std::string startKey = cbMonth_First->text() + "-" + cbDay_First->text();
    const std::string endKey = cbMonth_End->text() + "-" + cbDay_End->text();
    if (startKey.compare(endKey) > 0) {
        forms::showWarning("종료일자보다 시작일자 더 큽니다......");
        cbMonth_End->setFocus();
        return false;
    }
    const std::string start = cbYear->text() + "-" + cbMonth_First->text() + "-" + cbDay_First->text();
    try {
        forms::strToDate(start);
    } catch (const forms::ConvertError&) {
        forms::showWarning("시작일자 " + start + " : 유효하지 않은 날짜 형식입니다.");
        cbDay_First->setFocus();
        return false;
    }
    const std::string end = cbYear->text() + "-" + cbMonth_End->text() + "-" + cbDay_End->text();
    try {
        forms::strToDate(end);
    } catch (const forms::ConvertError&) {
        forms::showWarning("종료일자 " + end + " : 유효하지 않은 날짜 형식입니다.");
        cbDay_End->setFocus();
        return false;
    }
    return true;
}

void TfmDay_Morvel_Form::PrintBtnClick(QObject*) {
    mainform::runPrepared(*fmDAY_MORVEL_CODE_Update_Form, [this] {
        Query_Search_Print();
        if (!Query1.active() || !Query_Print.active() || Query_Print.recordCount() == 0 || Query1.recordCount() == 0)
            return;
        if (Run_Check != "YY") {
            forms::showWarning("실행 번튼을 먼저 실행 하세요.....");
            PrintBtn->setFocus();
            Run_Check = "NN";
            return;
        }
        mainform::createReportForm(qrfmDay_Morvel_Form);
        qrfmDay_Morvel_Form->qrlYear->setCaption("기간 : " + cbYear->text() + "년 " + cbMonth_First->text() + "월 " +
                                                 cbDay_First->text() + "일 부터 " + cbYear->text() + "년 " +
                                                 cbMonth_End->text() + "월 " + cbDay_End->text() + "일 까지");
        qrfmDay_Morvel_Form->qrlKubun->setCaption("구 분 : " + cbKubun->text());
        {
            // A run or print started from the waiting preview would prepare the work
            // table a second time: the two buttons stay off until the preview closes.
            mainform::RequestsRefused refused{{BitBtn1, PrintBtn}};
            qrfmDay_Morvel_Form->QuickRep1->preview();
        }
        Run_Check = "NN";
    });
}

void TfmDay_Morvel_Form::CancelBtnClick(QObject*) {}

void TfmDay_Morvel_Form::CloseBtnClick(QObject*) { close(); }

void TfmDay_Morvel_Form::cbYearChange(QObject* Sender) { mainform::pickListChange(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbYearEnter(QObject* Sender) { mainform::pickListEnter(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbYearExit(QObject* Sender) { mainform::pickListExit(boxOf(Sender)); }

void TfmDay_Morvel_Form::cbYearKeyPress(QObject* Sender, QChar& Key) {
    mainform::pickListKeyPress(*this, boxOf(Sender), Key, kCaption);
}

void TfmDay_Morvel_Form::cbMonth_FirstChange(QObject* Sender) { mainform::pickListChange(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbMonth_FirstEnter(QObject* Sender) { mainform::pickListEnter(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbMonth_FirstExit(QObject* Sender) { mainform::pickListExit(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_FirstChange(QObject* Sender) { mainform::pickListChange(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_FirstEnter(QObject* Sender) { mainform::pickListEnter(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_FirstExit(QObject* Sender) { mainform::pickListExit(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbMonth_EndChange(QObject* Sender) { mainform::pickListChange(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbMonth_EndEnter(QObject* Sender) { mainform::pickListEnter(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbMonth_EndExit(QObject* Sender) { mainform::pickListExit(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_EndChange(QObject* Sender) { mainform::pickListChange(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_EndEnter(QObject* Sender) { mainform::pickListEnter(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_EndExit(QObject* Sender) { mainform::pickListExit(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbKubunChange(QObject* Sender) { mainform::pickListChange(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbKubunEnter(QObject* Sender) { mainform::pickListEnter(boxOf(Sender)); }
void TfmDay_Morvel_Form::cbKubunExit(QObject* Sender) { mainform::pickListExit(boxOf(Sender)); }

void TfmDay_Morvel_Form::DBGrid1DrawColumnCell(forms::DBGrid& Sender, const QRect& Rect, int DataCol,
                                               forms::Column& Column, forms::DrawCellState) {
    forms::drawRollUpCell(Sender, Rect, DataCol, Column, Query1AC_CODE);
}

void TfmDay_Morvel_Form::FormClose(QObject*, forms::CloseAction& Action) {
    if (!mainform::cleanUpAtClose(*fmDAY_MORVEL_CODE_Update_Form)) {
        Action = forms::CloseAction::None;
        return;
    }
    fmDay_Morvel_Form = nullptr;
    Action = forms::CloseAction::Free;
}
