// The "Print Preview" window: shows the produced pages, zooms, pages through them, sets up
// the printer, prints, saves and loads the produced report and exports it as PDF.
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
    QPrinter& printer() { return printer_; }
    QString statusText() const;

    // The file operations behind the buttons, for a path already chosen.
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
    // report file prints as it was saved.
    void print();
    void save();
    void load();
    void exportPdf();

private:
    void buildActions();
    void showPage(int index);
    void updateActions();
    void showError(const QString& text);

    Report& report_;
    ProducedReport produced_;
    bool fromFile_ = false;
    bool producing_ = false;
    int current_ = 0;
    QPrinter printer_{QPrinter::HighResolution};
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
