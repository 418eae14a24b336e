// The small "Printing progress" window shown while a report goes to the printer.
#pragma once

#include <QWidget>

class QLabel;

namespace report {

class PrintingProgress : public QWidget {
    Q_OBJECT
public:
    explicit PrintingProgress(QWidget* parent = nullptr);
    // Shows the page being printed and repaints at once (printing holds the event loop).
    void setPage(int page);

private:
    QLabel* label_;
};

}  // namespace report
