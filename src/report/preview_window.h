// The "Print Preview" window: shows the produced pages, zooms, pages through them, sets up
// the printer, prints, saves and loads the produced report and exports it as PDF.
// Page Up and Page Down turn the pages, Home and End go to the first and the last one,
// Escape closes the window.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <memory>

#include "layout.h"

class QAction;
class QLabel;
class QScrollArea;

namespace report {

class PageView;
class Report;

class PreviewWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit PreviewWindow(Report& report, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // Produces every page, showing the progress in the status line; print and printer
    // set-up become usable once all pages are there.
    void produceAll();

    const ProducedReport& produced() const { return produced_; }
    int currentPage() const { return current_; }  // 0-based
    QPrinter& printer() { return *printer_; }
    QString statusText() const;

    // The file operations behind the buttons, for a path already chosen. A file named
    // without an extension gets that of its kind (".rep", ".pdf").
    bool saveTo(const QString& path);
    bool loadFrom(const QString& path);
    bool exportPdfTo(const QString& path);

public slots:
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void zoomToFit();
    void zoomToWidth();
    void zoomFull();
    void printerSetup();
    // Prints the report produced anew from the data set's rows of this moment; a loaded
    // report file prints as it was saved. Without a printer to print on the user is told
    // how to print to a file instead; the printer stays usable for the next try.
    void print();
    void save();
    void load();
    void exportPdf();

private:
    void buildActions();
    void showPage(int index);
    void updateActions();
    void showError(const QString& text);
    // Keeps the whole window, frame included, inside the screen's available area.
    void fitIntoAvailableArea();
    // A printer like the current one, with the user's choices, for a new attempt.
    void renewPrinter();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:

    Report& report_;
    ProducedReport produced_;
    bool fromFile_ = false;
    bool producing_ = false;
    int current_ = 0;
    std::unique_ptr<QPrinter> printer_;
    bool fitted_ = false;
    PageView* view_;
    QScrollArea* scroll_;
    QLabel* status_;
    QAction* print_ = nullptr;
    QAction* setup_ = nullptr;
    QAction* first_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* next_ = nullptr;
    QAction* last_ = nullptr;
};

}  // namespace report
