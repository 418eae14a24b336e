#include "account_summary_report_form.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include "mainform_roll_up_row.h"
#include "report/report.h"

namespace summary_report {
namespace {

using forms::Alignment;
using report::Band;
using report::BandKind;
using report::DBText;
using report::Label;
using report::SysData;
using report::TextFont;

constexpr int kBandWidth = 718;

TextFont reportFont() { return TextFont{QStringLiteral("굴림"), 8, false, false, Qt::black}; }
TextFont titleFont() { return TextFont{QStringLiteral("굴림"), 20, true, true, Qt::black}; }
TextFont periodFont() { return TextFont{QStringLiteral("굴림"), 11, true, false, Qt::black}; }

// Every text of the form is opaque white and keeps its box.
template <class T>
T* addText(Band* band, const char* name, const TextFont& font, int left, int top, int width, int height,
           Alignment alignment, bool autoSize) {
    T* text = band->add<T>(name, font);
    text->setBounds(left, top, width, height);
    text->setAlignment(alignment);
    text->setAutoSize(autoSize);
    text->setTransparent(false);
    text->setColor(Qt::white);
    return text;
}

Label* addLabel(Band* band, const char* name, const std::string& caption, const TextFont& font, int left, int top,
                int width, int height, Alignment alignment, bool autoSize) {
    Label* label = addText<Label>(band, name, font, left, top, width, height, alignment, autoSize);
    label->setCaption(caption);
    label->setWordWrap(true);
    return label;
}

DBText* addDBText(Band* band, const char* name, const char* field, int left, int width, int height,
                  Alignment alignment) {
    DBText* text = addText<DBText>(band, name, reportFont(), left, 2, width, height, alignment, false);
    text->setDataField(field);
    text->setWordWrap(true);
    return text;
}

// Characters from a 1-based position, as many as there are up to count.
std::string copy(const std::string& s, std::size_t position, std::size_t count) {
    if (position < 1 || position > s.size()) return {};
    return s.substr(position - 1, count);
}

void setSize(DBText* text, int points, bool bold) {
    text->font().pointSize = points;
    text->font().bold = bold;
    text->font().underline = false;
}

}  // namespace

AccountSummaryReportForm::AccountSummaryReportForm(const FormData& data, const report::QueryBinding& printQuery,
                                                   QWidget* parent)
    : forms::Form(data.formName, parent), data_(data), printQuery_(printQuery) {
    setCaption(data.formName);
    setGeometry(84, 107, 918, 530);
    setBackgroundRole(QPalette::Button);
    setFont(reportFont().toQFont());
    buildLayout();
    // A report form without a parent belongs to the application and lives until it ends.
    if (!parent && QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &QObject::deleteLater);
}

AccountSummaryReportForm::~AccountSummaryReportForm() = default;

void AccountSummaryReportForm::buildLayout() {
    report_ = std::make_unique<report::Report>("QuickRep1");
    QuickRep1 = report_.get();
    QuickRep1->setFont(reportFont());
    QuickRep1->firstPageHeader = true;
    QuickRep1->lastPageFooter = true;
    QuickRep1->printIfEmpty = true;
    QuickRep1->showProgress = true;
    QuickRep1->setDataSet(std::make_shared<report::QueryDataSet>(printQuery_));

    QRBand1 = QuickRep1->addBand("QRBand1", BandKind::PageHeader);
    QRBand1->setSize(kBandWidth, 100);
    QRLabel1 = addLabel(QRBand1, "QRLabel1", data_.title, titleFont(), 306, 3, 106, 33, Alignment::Left, true);
    qrlYear = addLabel(QRBand1, "qrlYear", "기간 : 2002년 05월 01일 부터 2002년 12월 31일 까지", periodFont(), 109, 48,
                       500, 17, Alignment::Center, false);
    qrlKubun = addLabel(QRBand1, "qrlKubun", "qrlKubun", reportFont(), 5, 83, 385, 14, Alignment::Left, false);
    QRLabel3 = addLabel(QRBand1, "QRLabel3", "(단위 : 원)", reportFont(), 651, 83, 53, 14, Alignment::Left, true);

    ChildBand1 = QuickRep1->addBand("ChildBand1", BandKind::Child, QRBand1);
    ChildBand1->setSize(kBandWidth, 17);
    ChildBand1->frame().drawTop = true;
    ChildBand1->frame().drawBottom = true;
    const TextFont f = reportFont();
    QRLabel8 = addLabel(ChildBand1, "QRLabel8", "차변 전체 합계", f, 2, 2, 87, 14, Alignment::Right, false);
    QRLabel9 = addLabel(ChildBand1, "QRLabel9", "차변 대체 합계", f, 90, 2, 87, 14, Alignment::Right, false);
    QRLabel13 = addLabel(ChildBand1, "QRLabel13", "차변 현금 합계", f, 178, 2, 82, 14, Alignment::Right, false);
    QRLabel10 = addLabel(ChildBand1, "QRLabel10", "계      정          과      목", f, 261, 2, 194, 14,
                         Alignment::Center, false);
    QRLabel14 = addLabel(ChildBand1, "QRLabel14", "대변 현금 합계", f, 458, 2, 80, 14, Alignment::Right, false);
    QRLabel11 = addLabel(ChildBand1, "QRLabel11", "대변 대체 합계", f, 539, 2, 87, 14, Alignment::Right, false);
    QRLabel12 = addLabel(ChildBand1, "QRLabel12", "대변 전체 합계", f, 627, 2, 87, 14, Alignment::Right, false);

    QRBand2 = QuickRep1->addBand("QRBand2", BandKind::Detail);
    QRBand2->setSize(kBandWidth, 17);
    QRDBText1 = addDBText(QRBand2, "QRDBText1", "CR00", 2, 89, 13, Alignment::Right);
    QRDBText2 = addDBText(QRBand2, "QRDBText2", "CR01", 92, 89, 13, Alignment::Right);
    QRDBText4 = addDBText(QRBand2, "QRDBText4", "CR01_CASH", data_.debitCash.left, data_.debitCash.width, 13,
                          Alignment::Right);
    QRDBText5 = addDBText(QRBand2, "QRDBText5", "AC_NAME", data_.accountTitle.left, data_.accountTitle.width, 15,
                          Alignment::Center);
    QRDBText3 = addDBText(QRBand2, "QRDBText3", "DR01_CASH", data_.creditCash.left, data_.creditCash.width, 13,
                          Alignment::Right);
    QRDBText6 = addDBText(QRBand2, "QRDBText6", "DR01", 535, 89, 13, Alignment::Right);
    QRDBText7 = addDBText(QRBand2, "QRDBText7", "DR00", 625, 89, 13, Alignment::Right);
    QRBand2->setBeforePrint([this](Band& sender, bool& printBand) { QRBand2BeforePrint(sender, printBand); });

    QRBand3 = QuickRep1->addBand("QRBand3", BandKind::PageFooter);
    QRBand3->setSize(kBandWidth, 20);
    QRBand3->frame().drawTop = true;
    QRSysData2 = addText<SysData>(QRBand3, "QRSysData2", f, 5, 4, 121, 12, Alignment::Left, true);
    QRSysData2->setData(SysData::Data::DateTime);
    QRSysData2->setText("출력일자 : ");
    QRSysData1 = addText<SysData>(QRBand3, "QRSysData1", f, 336, 4, 45, 12, Alignment::Center, true);
    QRSysData1->setData(SysData::Data::PageNumber);
}

void AccountSummaryReportForm::QRBand2BeforePrint(report::Band& /*Sender*/, bool& /*PrintBand*/) {
    for (DBText* text : {QRDBText1, QRDBText2, QRDBText3, QRDBText4, QRDBText5, QRDBText6, QRDBText7})
        setSize(text, 8, false);

    const std::string code = printQuery_.asString("Ac_Code");
    if (!mainform::isRollUpCode(code)) return;

    setSize(QRDBText5, 9, true);
    const std::string leading = copy(code, 1, 11);
    for (const char* summaryCode : {"50909000000", "50808000000", "50807000000", "50806000000", "50805000000"}) {
        if (leading == summaryCode) {
            for (DBText* amount : {QRDBText1, QRDBText2, QRDBText3, QRDBText4, QRDBText6, QRDBText7})
                setSize(amount, 7, true);
            break;
        }
    }
}

void AccountSummaryReportForm::FormClose(QObject* /*Sender*/, CloseAction& Action) {
    if (data_.forgetInstance) data_.forgetInstance();
    Action = CloseAction::Free;
}

void AccountSummaryReportForm::closeEvent(QCloseEvent* event) {
    CloseAction action = CloseAction::Hide;
    FormClose(this, action);
    switch (action) {
    case CloseAction::None: event->ignore(); return;
    case CloseAction::Minimize:
        event->ignore();
        showMinimized();
        return;
    case CloseAction::Free: deleteLater(); break;
    case CloseAction::Hide: break;
    }
    event->accept();
}

}  // namespace summary_report
