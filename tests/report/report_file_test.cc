// The report file the preview saves and loads back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include "report/report.h"
#include "forms/message_box.h"
#include "report/preview_window.h"
#include "report/report_file.h"
#include "open_preview.h"
#include "table_data_set.h"

namespace {

report::ProducedReport sampleReport() {
    report::Report rep("rep");
    rep.setDataSet(std::make_shared<TableDataSet>(numberedRows(70)));
    auto* header = rep.addBand("Header", report::BandKind::PageHeader);
    header->setSize(718, 40);
    header->frame().drawBottom = true;
    report::TextFont title = rep.font();
    title.pointSize = 20;
    title.bold = title.underline = true;
    auto* label = header->add<report::Label>("Title", title);
    label->setCaption("일 계 표");
    label->setBounds(306, 3, 106, 33);
    label->setAlignment(forms::Alignment::Center);
    label->setTransparent(false);
    auto* detail = rep.addBand("Detail", report::BandKind::Detail);
    detail->setSize(718, 17);
    auto* n = detail->add<report::DBText>("N", rep.font());
    n->setDataField("N");
    n->setBounds(2, 2, 89, 13);
    return rep.produce();
}

void expectSame(const report::ProducedReport& a, const report::ProducedReport& b) {
    EXPECT_EQ(a.pageSize, b.pageSize);
    ASSERT_EQ(a.pages.size(), b.pages.size());
    for (std::size_t p = 0; p < a.pages.size(); ++p) {
        EXPECT_EQ(a.pages[p].number, b.pages[p].number);
        ASSERT_EQ(a.pages[p].bands.size(), b.pages[p].bands.size());
        for (std::size_t i = 0; i < a.pages[p].bands.size(); ++i) {
            const auto& x = a.pages[p].bands[i];
            const auto& y = b.pages[p].bands[i];
            EXPECT_EQ(x.name, y.name);
            EXPECT_EQ(x.kind, y.kind);
            EXPECT_EQ(x.rect, y.rect);
            EXPECT_EQ(x.frame.drawTop, y.frame.drawTop);
            EXPECT_EQ(x.frame.drawBottom, y.frame.drawBottom);
            EXPECT_EQ(x.frame.style, y.frame.style);
            ASSERT_EQ(x.texts.size(), y.texts.size());
            for (std::size_t t = 0; t < x.texts.size(); ++t) {
                EXPECT_EQ(x.texts[t].text, y.texts[t].text);
                EXPECT_EQ(x.texts[t].lines, y.texts[t].lines);
                EXPECT_EQ(x.texts[t].rect, y.texts[t].rect);
                EXPECT_EQ(x.texts[t].font, y.texts[t].font);
                EXPECT_EQ(x.texts[t].alignment, y.texts[t].alignment);
                EXPECT_EQ(x.texts[t].transparent, y.texts[t].transparent);
            }
        }
    }
}

}  // namespace

TEST(ReportFile, SavedReportLoadsBackPageForPage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("summary.rep");
    const report::ProducedReport original = sampleReport();
    ASSERT_EQ(original.pages.size(), 2u);
    QString error;
    ASSERT_TRUE(report::saveReportFile(original, path, &error)) << error.toStdString();
    const auto loaded = report::loadReportFile(path, &error);
    ASSERT_TRUE(loaded) << error.toStdString();
    expectSame(original, *loaded);
}

TEST(ReportFile, FailuresCarryTheReason) {
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(report::saveReportFile(sampleReport(), dir.filePath("missing/summary.rep"), &error));
    EXPECT_TRUE(error.contains("missing/summary.rep"));

    EXPECT_FALSE(report::loadReportFile(dir.filePath("none.rep"), &error));
    EXPECT_TRUE(error.contains("none.rep"));

    QFile other(dir.filePath("other.rep"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("{\"pages\": []}");
    other.close();
    EXPECT_FALSE(report::loadReportFile(other.fileName(), &error));
    EXPECT_EQ(error, other.fileName() + " is not a report file.");

    EXPECT_FALSE(report::writePdf(sampleReport(), dir.filePath("missing/summary.pdf")));
}

// The preview tells the user why a save, load or export failed, in the program's own
// message box.
TEST(ReportFile, PreviewReportsFailuresInAMessageBox) {
    OpenPreview open;
    report::PreviewWindow& preview = open.preview;
    std::vector<forms::ShownMessage> boxes;
    forms::setMessageResponder([&](const forms::ShownMessage& box) { boxes.push_back(box); });
    QTemporaryDir dir;
    EXPECT_FALSE(preview.saveTo(dir.filePath("missing/summary.rep")));
    EXPECT_FALSE(preview.loadFrom(dir.filePath("none.rep")));
    EXPECT_FALSE(preview.exportPdfTo(dir.filePath("missing/summary.pdf")));
    forms::setMessageResponder({});
    ASSERT_EQ(boxes.size(), 3u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.kind, forms::MessageKind::Warning);
        EXPECT_EQ(box.caption, "Print Preview");
    }
    EXPECT_NE(boxes[0].text.find("missing/summary.rep"), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[2].text.find("missing/summary.pdf"), std::string::npos) << boxes[2].text;
}

// A report saved under a bare name gets the extension the Open dialog looks for; a name
// with an extension of its own keeps it.
TEST(ReportFile, PreviewSavesABareNameAsAReportFile) {
    OpenPreview open;
    report::PreviewWindow& preview = open.preview;
    QTemporaryDir dir;
    ASSERT_TRUE(preview.saveTo(dir.filePath("summary")));
    EXPECT_TRUE(QFile::exists(dir.filePath("summary.rep")));
    EXPECT_FALSE(QFile::exists(dir.filePath("summary")));
    EXPECT_TRUE(preview.loadFrom(dir.filePath("summary.rep")));
    ASSERT_TRUE(preview.saveTo(dir.filePath("summary.old")));
    EXPECT_TRUE(QFile::exists(dir.filePath("summary.old")));
}

// Without a printer (the system then offers a PDF file without a name) the user is told
// so and how to print to a file; a failed print leaves the printer usable for the next.
TEST(ReportFile, PrintingWithoutAPrinterSaysSoAndTheNextPrintWorks) {
    OpenPreview open;
    open.rep.showProgress = false;
    report::PreviewWindow& preview = open.preview;
    std::vector<forms::ShownMessage> boxes;
    forms::setMessageResponder([&](const forms::ShownMessage& box) { boxes.push_back(box); });
    QTemporaryDir dir;

    preview.printer().setOutputFormat(QPrinter::PdfFormat);
    preview.printer().setOutputFileName({});
    preview.print();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("No printer is available"), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("Print to File (PDF)"), std::string::npos) << boxes[0].text;

    preview.printer().setOutputFileName(dir.filePath("missing/printed.pdf"));
    preview.print();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].text.find("missing/printed.pdf"), std::string::npos) << boxes[1].text;

    preview.printer().setOutputFileName(dir.filePath("printed.pdf"));
    EXPECT_EQ(preview.printer().outputFileName(), dir.filePath("printed.pdf")) << "the printer takes changes again";
    preview.print();
    forms::setMessageResponder({});
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(QFile::exists(dir.filePath("printed.pdf")));
}
