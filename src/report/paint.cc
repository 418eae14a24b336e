#include "paint.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include "text_lines.h"
#include "units.h"

namespace report {
namespace {

Qt::Alignment horizontal(forms::Alignment a) {
    switch (a) {
    case forms::Alignment::Right: return Qt::AlignRight;
    case forms::Alignment::Center: return Qt::AlignHCenter;
    case forms::Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

void paintFrame(QPainter& painter, const PlacedBand& band) {
    const BandFrame& frame = band.frame;
    if (!frame.drawTop && !frame.drawBottom) return;
    QPen pen(frame.color, frame.width, frame.style);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const double half = frame.width / 2.0;
    const QRectF& r = band.rect;
    if (frame.drawTop) painter.drawLine(QPointF(r.left(), r.top() + half), QPointF(r.right(), r.top() + half));
    if (frame.drawBottom)
        painter.drawLine(QPointF(r.left(), r.bottom() - half), QPointF(r.right(), r.bottom() - half));
}

void paintText(QPainter& painter, const PlacedText& text) {
    if (!text.transparent) painter.fillRect(text.rect, text.color);
    if (text.lines.isEmpty()) return;
    painter.save();
    painter.setClipRect(text.rect);
    painter.setFont(text.font.toQFont());
    painter.setPen(text.font.color);
    const double height = lineHeight(text.font);
    double y = text.rect.top();
    for (const QString& line : text.lines) {
        const QRectF lineRect(text.rect.left(), y, text.rect.width(), height);
        painter.drawText(lineRect, horizontal(text.alignment) | Qt::AlignTop | Qt::TextDontClip, line);
        y += height;
    }
    painter.restore();
}

}  // namespace

void paintPage(QPainter& painter, const ProducedPage& page) {
    for (const PlacedBand& band : page.bands) {
        painter.fillRect(band.rect, band.color);
        paintFrame(painter, band);
        for (const PlacedText& text : band.texts) paintText(painter, text);
    }
}

bool renderPages(const ProducedReport& report, QPagedPaintDevice& device, PageRange range, int copies,
                 const std::function<void(int page)>& pageDone) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double scaleX = device.logicalDpiX() / kUnitsPerInch;
    const double scaleY = device.logicalDpiY() / kUnitsPerInch;
    bool firstSheet = true;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (const ProducedPage& page : report.pages) {
            if (!range.contains(page.number)) continue;
            if (!firstSheet) device.newPage();
            firstSheet = false;
            painter.resetTransform();
            painter.scale(scaleX, scaleY);
            paintPage(painter, page);
            if (pageDone) pageDone(page.number);
        }
    }
    return painter.end();
}

}  // namespace report
