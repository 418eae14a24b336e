#include "print.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <memory>

#include "paint.h"
#include "printing_progress.h"
#include "units.h"

namespace report {

bool printProduced(const ProducedReport& report, QPrinter& printer, bool showProgress) {
    printer.setFullPage(true);
    const QPageSize size(QSizeF(unitsToMm(report.pageSize.width()), unitsToMm(report.pageSize.height())),
                         QPageSize::Millimeter);
    printer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    PageRange range;
    if (printer.printRange() == QPrinter::PageRange) range = PageRange{printer.fromPage(), printer.toPage()};
    // A printer that makes the copies itself gets each page once.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();

    std::unique_ptr<PrintingProgress> progress;
    if (showProgress) {
        progress = std::make_unique<PrintingProgress>();
        progress->show();
    }
    return renderPages(report, printer, range, copies, [&](int page) {
        if (progress) progress->setPage(page);
    });
}

}  // namespace report
