#include "page_view.h"

#include <QPainter>

#include "paint.h"

namespace report {

namespace {
constexpr int kBorder = 10;  // grey space around the sheet
}

PageView::PageView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
}

void PageView::setPage(const ProducedPage* page, QSizeF pageSize) {
    page_ = page;
    pageSize_ = pageSize;
    resize(sizeHint());
    update();
}

void PageView::setZoom(double zoom) {
    zoom_ = zoom;
    resize(sizeHint());
    update();
}

QSize PageView::sizeHint() const {
    return QSize(qRound(pageSize_.width() * zoom_) + 2 * kBorder, qRound(pageSize_.height() * zoom_) + 2 * kBorder);
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF sheet(kBorder, kBorder, pageSize_.width() * zoom_, pageSize_.height() * zoom_);
    painter.fillRect(sheet.translated(3, 3), Qt::black);
    painter.fillRect(sheet, Qt::white);
    if (!page_) return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(sheet.topLeft());
    painter.scale(zoom_, zoom_);
    paintPage(painter, *page_);
}

}  // namespace report
