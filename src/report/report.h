// A banded report bound to a data set: page settings, bands and their texts. It produces
// its pages as data (produce()), shows them in the preview window, prints and exports them.
#pragma once

#include <QSizeF>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "band.h"
#include "data_set.h"
#include "layout.h"
#include "text_font.h"

class QPrinter;

namespace report {

struct PageSettings {
    double paperWidthMm = 210.0;  // A4 portrait
    double paperLengthMm = 297.0;
    double topMarginMm = 15.0;
    double bottomMarginMm = 15.0;
    double leftMarginMm = 10.0;
    double rightMarginMm = 10.0;
};

struct PrinterSettings {
    int copies = 1;
    bool duplex = false;
    int firstPage = 0;  // 0 and 0: all pages
    int lastPage = 0;
};

class Report {
public:
    explicit Report(std::string name);
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    const std::string& name() const { return name_; }

    PageSettings& page() { return page_; }
    const PageSettings& page() const { return page_; }
    PrinterSettings& printerSettings() { return printerSettings_; }
    const PrinterSettings& printerSettings() const { return printerSettings_; }

    // The page header also prints on the first page; the page footer also on the last one.
    bool firstPageHeader = true;
    bool lastPageFooter = true;
    // A data set without rows still gives one page with one (empty) detail band.
    bool printIfEmpty = true;
    // Printing shows the "Printing progress" window.
    bool showProgress = true;
    std::string reportTitle;

    const TextFont& font() const { return font_; }
    void setFont(const TextFont& f) { font_ = f; }

    DataSet* dataSet() const { return dataSet_.get(); }
    void setDataSet(std::shared_ptr<DataSet> dataSet) { dataSet_ = std::move(dataSet); }

    // Adds a band; a child band names the band it follows.
    Band* addBand(std::string name, BandKind kind, Band* parent = nullptr);
    const std::vector<std::unique_ptr<Band>>& bands() const { return bands_; }

    QSizeF pageSizeUnits() const;

    // Produces every page from the data set's first row to its last. The callback hears
    // the number of each page once it is complete.
    ProducedReport produce(const std::function<void(int page)>& pageDone = {});

    // Opens the "Print Preview" window with all pages produced; returns once the window is
    // closed or the application is ending. The window is not modal: the application keeps
    // answering the user meanwhile.
    void preview();

    // Produces the report anew from the rows the data set holds now and prints it on the
    // printer (its copies and page range apply); shows "Printing progress" if showProgress.
    // False when the printer cannot be written to.
    bool print(QPrinter& printer);

    // Produces the report and writes it as a PDF file; false if the file cannot be written.
    bool exportPdf(const QString& path);

private:
    std::string name_;
    PageSettings page_;
    PrinterSettings printerSettings_;
    TextFont font_;
    std::shared_ptr<DataSet> dataSet_;
    std::vector<std::unique_ptr<Band>> bands_;
};

}  // namespace report
