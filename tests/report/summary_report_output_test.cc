// The report form's output: PDF text and fonts, the preview window and printing from it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "DAY_MORVEL_Unit1_Print01.h"
#include "print_query_fixture.h"
#include "report/clock.h"
#include "report/preview_window.h"
#include "report/report.h"

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A demo summary of several pages: accounts, group rows and the three summary rows.
std::vector<SummaryRow> demoRows(int accounts) {
    std::vector<SummaryRow> rows;
    const char* names[] = {"현금", "보통예금", "외상매출금", "받을어음", "미수금", "선급금", "상품", "비품"};
    for (int i = 0; i < accounts; ++i) {
        if (i % 10 == 0)
            rows.push_back(SummaryRow{"1" + std::to_string(10 + i / 10) + "00000000", 9876543.0 * (i + 1), 4321000,
                                      5555543.0 * (i + 1), "유 동 자 산", 1234567, 7654321, 8888888});
        const double base = 1000.0 * (i + 1) + 234;
        rows.push_back(SummaryRow{"1" + std::to_string(10 + i / 10) + "01" + std::to_string(100 + i) + "000", base,
                                  base / 2, base / 2, names[i % 8], base * 3, i % 3 ? 0.0 : base, base * 3});
    }
    rows.push_back(SummaryRow{"50805000000", 123456789, 23456789, 100000000, "소      계", 100000000, 23456789,
                              123456789});
    rows.push_back(SummaryRow{"50806000000", 500000, std::nullopt, 500000, "현 금 잔 액", 250000, std::nullopt,
                              250000});
    rows.push_back(SummaryRow{"50909000000", 123956789, 23456789, 100500000, "합      계", 100250000, 23456789,
                              123706789});
    return rows;
}

QAction* printAction(report::PreviewWindow& preview) {
    for (QAction* action : preview.findChildren<QAction*>())
        if (action->text() == "Print") return action;
    return nullptr;
}

class ReportOutput : public ::testing::Test {
protected:
    void SetUp() override {
        report::setShortDateFormat("yyyy-MM-dd");
        report::setLongTimeFormat("HH:mm:ss");
        report::setClock([] { return QDateTime(QDate(2002, 12, 31), QTime(17, 45, 3)); });
        TqrfmDay_Morvel_Form::printQuery() = data.binding();
        form = new TqrfmDay_Morvel_Form;
        form->qrlYear->setCaption("기간 : 2002년 05월 01일 부터 2002년 12월 31일 까지");
        form->qrlKubun->setCaption("구 분 : 본점/서울");
    }
    void TearDown() override {
        delete form;  // unless the application's end has freed it
        TqrfmDay_Morvel_Form::printQuery() = {};
        report::setClock({});
        report::setShortDateFormat({});
        report::setLongTimeFormat({});
    }

    PrintQueryFixture data;
    QPointer<TqrfmDay_Morvel_Form> form;
};

}  // namespace

TEST_F(ReportOutput, PdfHoldsTheKoreanTextsAndAmountsInOneEmbeddedFace) {
    data.setRows(demoRows(80));
    // Kept beside the test binary for a look at the pages.
    const QString path = QStringLiteral("summary_report_demo.pdf");
    ASSERT_TRUE(form->QuickRep1->exportPdf(path));

    const QString text = run("pdftotext", {"-layout", path, "-"});
    ASSERT_FALSE(text.isEmpty()) << "pdftotext gave nothing";
    for (const char* expected : {"일 계 표", "기간 : 2002년 05월 01일 부터 2002년 12월 31일 까지", "구 분 : 본점/서울",
                                 "(단위 : 원)", "차변 전체 합계", "대변 현금 합계", "보통예금",
                                 "123,956,789", "100,250,000", "출력일자 : 2002-12-31 17:45:03"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(text.contains(QRegularExpression(QString::fromUtf8("합 +계")))) << "grand total title";
    const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);  // 80 accounts, 8 groups, 3 summary rows: 91 lines
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(QString::fromUtf8("일 계 표")));
        EXPECT_TRUE(page.contains(QString::fromUtf8("차변 전체 합계")));
        EXPECT_TRUE(page.contains(QString::fromUtf8("출력일자 : ")));
    }

    const QStringList fonts = run("pdffonts", {path}).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_EQ(fonts.size(), 1) << run("pdffonts", {path}).toStdString();
    EXPECT_TRUE(fonts[0].contains("Gulim") || fonts[0].contains("Nanum")) << fonts[0].toStdString();
    EXPECT_TRUE(fonts[0].contains(" yes ")) << "not embedded: " << fonts[0].toStdString();
}

TEST_F(ReportOutput, PreviewShowsAllPagesAndReturnsWhenItsWindowCloses) {
    data.setRows(demoRows(80));
    QString title, status;
    int pages = 0;
    bool printEnabled = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* preview = qobject_cast<report::PreviewWindow*>(w);
            if (!preview || !preview->isVisible()) continue;
            title = preview->windowTitle();
            status = preview->statusText();
            pages = static_cast<int>(preview->produced().pages.size());
            printEnabled = printAction(*preview)->isEnabled();
            preview->lastPage();
            status += " / " + preview->statusText();
            preview->close();
        }
    });
    form->QuickRep1->preview();
    EXPECT_EQ(title, "Print Preview");
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(status, "Page 1 of 2 / Page 2 of 2");
    EXPECT_TRUE(printEnabled);
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(qobject_cast<report::PreviewWindow*>(w));
}

TEST_F(ReportOutput, PreviewReturnsWhenTheApplicationQuits) {
    data.setRows(demoRows(3));
    bool returned = false;
    // The print request runs inside the application's event loop, as a click handler does.
    QTimer::singleShot(0, [&] {
        form->QuickRep1->preview();
        returned = true;
    });
    QTimer::singleShot(100, [] { QCoreApplication::quit(); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });  // a preview that failed to return
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(returned);
    EXPECT_TRUE(form.isNull()) << "the application's end frees its report forms";
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(qobject_cast<report::PreviewWindow*>(w));
}

TEST_F(ReportOutput, PrintingFromThePreviewProducesTheReportFromTheRowsOfThatMoment) {
    QTemporaryDir dir;
    data.setRows(demoRows(3));
    report::PreviewWindow preview(*form->QuickRep1);
    ASSERT_TRUE(printAction(preview));
    EXPECT_FALSE(printAction(preview)->isEnabled()) << "printing waits for all pages";
    preview.produceAll();
    EXPECT_TRUE(printAction(preview)->isEnabled());
    ASSERT_EQ(preview.produced().pages.size(), 1u);

    // Another request reruns the print query while the preview is open.
    data.setRows({SummaryRow{"10101001000", 777777, 0, 777777, "나중에 온 현금", 0, 0, 0}});
    preview.printer().setOutputFormat(QPrinter::PdfFormat);
    preview.printer().setOutputFileName(dir.filePath("printed.pdf"));
    preview.print();
    const QString printed = run("pdftotext", {"-layout", dir.filePath("printed.pdf"), "-"});
    EXPECT_TRUE(printed.contains(QString::fromUtf8("나중에 온 현금")));
    EXPECT_TRUE(printed.contains("777,777"));
    EXPECT_FALSE(printed.contains(QString::fromUtf8("보통예금")));

    // The saved report loads back as it was produced, and prints as loaded.
    ASSERT_TRUE(preview.saveTo(dir.filePath("summary.rep")));
    data.setRows({});
    ASSERT_TRUE(preview.loadFrom(dir.filePath("summary.rep")));
    preview.printer().setOutputFileName(dir.filePath("reprinted.pdf"));
    preview.print();
    const QString reprinted = run("pdftotext", {"-layout", dir.filePath("reprinted.pdf"), "-"});
    EXPECT_TRUE(reprinted.contains(QString::fromUtf8("보통예금")));
}

TEST_F(ReportOutput, PrinterPageRangeAndCopies) {
    QTemporaryDir dir;
    data.setRows(demoRows(150));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("range.pdf"));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    printer.setCopyCount(2);
    form->QuickRep1->showProgress = false;
    ASSERT_TRUE(form->QuickRep1->print(printer));
    const QString text = run("pdftotext", {"-layout", dir.filePath("range.pdf"), "-"});
    const QStringList sheets = text.split('\f', Qt::SkipEmptyParts);
    const int copies = printer.supportsMultipleCopies() ? 1 : 2;
    ASSERT_EQ(sheets.size(), 2 * copies);
    // Page numbers are centred in the footer line: the last number on each sheet.
    EXPECT_TRUE(sheets[0].trimmed().endsWith("2"));
    EXPECT_TRUE(sheets[1].trimmed().endsWith("3"));
}
