#include "printing_progress.h"

#include <QLabel>
#include <QVBoxLayout>

namespace report {

PrintingProgress::PrintingProgress(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setWindowTitle(QStringLiteral("Printing progress"));
    setObjectName(QStringLiteral("PrintingProgress"));
    label_ = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    setMinimumWidth(240);
}

void PrintingProgress::setPage(int page) {
    label_->setText(QStringLiteral("Printing page %1").arg(page));
    repaint();
}

}  // namespace report
