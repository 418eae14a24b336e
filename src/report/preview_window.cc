#include "preview_window.h"

#include "forms/message_box.h"
#include "forms/platform.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>

#include "file_dialogs.h"
#include "page_view.h"
#include "print.h"
#include "report.h"
#include "report_file.h"

namespace report {
namespace {
const QString kReportFiles = QStringLiteral("Report files (*.rep)");
const QString kReportSuffix = QStringLiteral(".rep");
const QString kPdfSuffix = QStringLiteral(".pdf");
const QString kNoPrinter = QStringLiteral(
    "No printer is available. To print to a file, choose \"Print to File (PDF)\" under "
    "Printer setup, or export the report with PDF.");
const QString kPdfFiles = QStringLiteral("PDF files (*.pdf)");
}  // namespace

PreviewWindow::PreviewWindow(Report& report, QWidget* parent) : QMainWindow(parent), report_(report) {
    setWindowTitle(QStringLiteral("Print Preview"));
    setObjectName(QStringLiteral("PrintPreview"));
    view_ = new PageView;
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(view_);
    scroll_->setAlignment(Qt::AlignHCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    setCentralWidget(scroll_);
    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);
    buildActions();
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // A page and a half of room where the screen allows it, never more than the screen.
    resize(900, 1000);
    fitIntoAvailableArea();
    updateActions();
}

void PreviewWindow::fitIntoAvailableArea() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The window manager's frame is known once the window is shown; before that an
    // allowance of a title bar and thin borders.
    QMargins frame = forms::frameMargins(this);
    if (frame.isNull()) frame = QMargins(4, 28, 4, 4);
    const QRect outer = frameGeometry();
    const QSize room = area.size().shrunkBy(frame);
    const QSize inner = size().boundedTo(room);
    if (inner != size()) resize(inner);
    const QSize whole = inner.grownBy(frame);
    QPoint topLeft = isVisible() ? outer.topLeft() : area.topLeft();
    topLeft.setX(std::clamp(topLeft.x(), area.left(), area.right() + 1 - whole.width()));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), area.bottom() + 1 - whole.height()));
    if (!isVisible() || topLeft != outer.topLeft()) move(topLeft);
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fitIntoAvailableArea();
}

bool PreviewWindow::event(QEvent* e) {
    // Read before handling: a deferred delete ends the window.
    const bool moved = e->type() == QEvent::Move || e->type() == QEvent::Resize;
    const bool handled = QMainWindow::event(e);
    // The frame's size arrives with the first move or resize the window manager makes.
    if (moved && !fitted_ && isVisible() && frameGeometry() != geometry()) {
        fitted_ = true;
        fitIntoAvailableArea();
    }
    return handled;
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildActions() {
    QToolBar* bar = addToolBar(QStringLiteral("Preview"));
    bar->setMovable(false);
    auto add = [&](const QString& text, const QString& tip, auto slot, QKeySequence key = {}) {
        QAction* action = bar->addAction(text, this, slot);
        action->setToolTip(key.isEmpty() ? tip : QStringLiteral("%1 (%2)").arg(tip, key.toString()));
        action->setShortcut(key);
        return action;
    };
    add(QStringLiteral("Whole page"), QStringLiteral("Zoom to fit the whole page"), &PreviewWindow::zoomToFit);
    add(QStringLiteral("100 %"), QStringLiteral("Zoom to the page's real size"), &PreviewWindow::zoomFull);
    add(QStringLiteral("Page width"), QStringLiteral("Zoom to the page's width"), &PreviewWindow::zoomToWidth);
    bar->addSeparator();
    first_ = add(QStringLiteral("|<"), QStringLiteral("First page"), &PreviewWindow::firstPage, Qt::Key_Home);
    previous_ = add(QStringLiteral("<"), QStringLiteral("Previous page"), &PreviewWindow::previousPage, Qt::Key_PageUp);
    next_ = add(QStringLiteral(">"), QStringLiteral("Next page"), &PreviewWindow::nextPage, Qt::Key_PageDown);
    last_ = add(QStringLiteral(">|"), QStringLiteral("Last page"), &PreviewWindow::lastPage, Qt::Key_End);
    bar->addSeparator();
    setup_ = add(QStringLiteral("Printer setup"), QStringLiteral("Choose printer, copies and pages"),
                 &PreviewWindow::printerSetup);
    print_ = add(QStringLiteral("Print"), QStringLiteral("Print the report"), &PreviewWindow::print);
    bar->addSeparator();
    add(QStringLiteral("Save"), QStringLiteral("Save the report to a file"), &PreviewWindow::save);
    add(QStringLiteral("Open"), QStringLiteral("Load a saved report"), &PreviewWindow::load);
    add(QStringLiteral("PDF"), QStringLiteral("Export the report as PDF"), &PreviewWindow::exportPdf);
    bar->addSeparator();
    add(QStringLiteral("Close"), QStringLiteral("Close the preview"), &QWidget::close, Qt::Key_Escape);
}

void PreviewWindow::produceAll() {
    producing_ = true;
    updateActions();
    status_->setText(QStringLiteral("Producing pages..."));
    produced_ = report_.produce([this](int page) {
        status_->setText(QStringLiteral("Producing page %1").arg(page));
        status_->repaint();
    });
    fromFile_ = false;
    producing_ = false;
    showPage(0);
}

QString PreviewWindow::statusText() const { return status_->text(); }

void PreviewWindow::showPage(int index) {
    const int count = static_cast<int>(produced_.pages.size());
    current_ = count == 0 ? 0 : std::clamp(index, 0, count - 1);
    view_->setPage(count == 0 ? nullptr : &produced_.pages[current_], produced_.pageSize);
    status_->setText(count == 0 ? QStringLiteral("No pages")
                                : QStringLiteral("Page %1 of %2").arg(current_ + 1).arg(count));
    updateActions();
}

void PreviewWindow::updateActions() {
    const int count = static_cast<int>(produced_.pages.size());
    const bool ready = !producing_ && count > 0;
    print_->setEnabled(ready);
    setup_->setEnabled(ready);
    first_->setEnabled(ready && current_ > 0);
    previous_->setEnabled(ready && current_ > 0);
    next_->setEnabled(ready && current_ < count - 1);
    last_->setEnabled(ready && current_ < count - 1);
}

void PreviewWindow::firstPage() { showPage(0); }
void PreviewWindow::previousPage() { showPage(current_ - 1); }
void PreviewWindow::nextPage() { showPage(current_ + 1); }
void PreviewWindow::lastPage() { showPage(static_cast<int>(produced_.pages.size()) - 1); }

void PreviewWindow::zoomToFit() {
    const QSize room = scroll_->viewport()->size() - QSize(24, 24);
    view_->setZoom(std::min(room.width() / produced_.pageSize.width(), room.height() / produced_.pageSize.height()));
}

void PreviewWindow::zoomToWidth() {
    const int room = scroll_->viewport()->width() - 24 - scroll_->verticalScrollBar()->sizeHint().width();
    view_->setZoom(room / produced_.pageSize.width());
}

void PreviewWindow::zoomFull() { view_->setZoom(1.0); }

void PreviewWindow::printerSetup() {
    QPrintDialog dialog(printer_.get(), this);
    dialog.setWindowTitle(QStringLiteral("Printer setup"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, std::max(1, static_cast<int>(produced_.pages.size())));
    // The dialog only keeps the choices for the next print, so its button says "OK",
    // not the "Print" of a print dialog.
    for (auto* buttons : dialog.findChildren<QDialogButtonBox*>(Qt::FindDirectChildrenOnly))
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    dialog.exec();
}

void PreviewWindow::print() {
    QPrinter& printer = *printer_;
    // Without a printer the system's printer is a PDF file without a name.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    if (toFile ? printer.outputFileName().isEmpty() : printer.printerName().isEmpty()) {
        showError(kNoPrinter);
        return;
    }
    const bool ok = fromFile_ ? printProduced(produced_, printer, report_.showProgress) : report_.print(printer);
    if (ok) return;
    // A printer that failed to start stays busy: the next attempt gets a fresh one.
    const QString target = toFile ? printer.outputFileName() : printer.printerName();
    renewPrinter();
    showError(toFile ? QStringLiteral("The report could not be printed to the file %1.").arg(target)
                     : QStringLiteral("The report could not be printed on the printer %1.").arg(target));
}

void PreviewWindow::renewPrinter() {
    auto fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QPrinter& old = *printer_;
    fresh->setOutputFormat(old.outputFormat());
    if (old.outputFormat() == QPrinter::NativeFormat) fresh->setPrinterName(old.printerName());
    else fresh->setOutputFileName(old.outputFileName());
    fresh->setCopyCount(old.copyCount());
    fresh->setPrintRange(old.printRange());
    fresh->setFromTo(old.fromPage(), old.toPage());
    printer_ = std::move(fresh);
}

void PreviewWindow::save() {
    const QString path = chooseFileToSave(this, QStringLiteral("Save report"), kReportFiles, kReportSuffix);
    if (!path.isEmpty()) saveTo(path);
}

void PreviewWindow::load() {
    const QString path = chooseFileToOpen(this, QStringLiteral("Open report"), kReportFiles);
    if (!path.isEmpty()) loadFrom(path);
}

void PreviewWindow::exportPdf() {
    const QString path = chooseFileToSave(this, QStringLiteral("Export PDF"), kPdfFiles, kPdfSuffix);
    if (!path.isEmpty()) exportPdfTo(path);
}

bool PreviewWindow::saveTo(const QString& given) {
    const QString path = withDefaultSuffix(given, kReportSuffix);
    QString error;
    if (saveReportFile(produced_, path, &error)) return true;
    showError(error);
    return false;
}

bool PreviewWindow::loadFrom(const QString& path) {
    QString error;
    auto loaded = loadReportFile(path, &error);
    if (!loaded) {
        showError(error);
        return false;
    }
    produced_ = std::move(*loaded);
    fromFile_ = true;
    showPage(0);
    return true;
}

bool PreviewWindow::exportPdfTo(const QString& given) {
    const QString path = withDefaultSuffix(given, kPdfSuffix);
    if (writePdf(produced_, path)) return true;
    showError(QStringLiteral("Cannot write file %1.").arg(path));
    return false;
}

void PreviewWindow::showError(const QString& text) {
    forms::showMessage(forms::MessageKind::Warning, "Print Preview", text.toStdString());
}

}  // namespace report
