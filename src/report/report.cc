#include "report.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

#include "preview_window.h"
#include "print.h"
#include "report_file.h"
#include "units.h"

namespace report {

Report::Report(std::string name) : name_(std::move(name)) {}
Report::~Report() = default;

Band* Report::addBand(std::string name, BandKind kind, Band* parent) {
    bands_.push_back(std::make_unique<Band>(std::move(name), kind, parent));
    return bands_.back().get();
}

QSizeF Report::pageSizeUnits() const {
    return QSizeF(mmToUnits(page_.paperWidthMm), mmToUnits(page_.paperLengthMm));
}

void Report::preview() {
    if (QCoreApplication::closingDown()) return;
    QPointer<PreviewWindow> window = new PreviewWindow(*this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    window->show();
    window->produceAll();
    if (window) loop.exec();
    delete window;  // the application is ending with the window still open
}

bool Report::print(QPrinter& printer) { return printProduced(produce(), printer, showProgress); }

bool Report::exportPdf(const QString& path) { return writePdf(produce(), path); }

}  // namespace report
