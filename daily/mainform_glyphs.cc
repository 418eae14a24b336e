#include "mainform_glyphs.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace mainform {
namespace {

// The transparent colour of every glyph.
const QColor kTransparent(128, 128, 0);

// Draws the normal image with `draw` on a square of `size` pixels and puts a greyed
// copy beside it.
QPixmap twoImages(int size, const std::function<void(QPainter&)>& draw) {
    QImage normal(size, size, QImage::Format_RGB32);
    normal.fill(kTransparent);
    {
        QPainter painter(&normal);
        draw(painter);
    }
    QImage glyph(size * 2, size, QImage::Format_RGB32);
    glyph.fill(kTransparent);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QColor c = normal.pixelColor(x, y);
            glyph.setPixelColor(x, y, c);
            if (c == kTransparent) continue;
            // Greyed: dark parts become the shadow grey, light parts the highlight.
            const int grey = qGray(c.rgb());
            glyph.setPixelColor(size + x, y, grey < 160 ? QColor(128, 128, 128) : QColor(255, 255, 255));
        }
    }
    return QPixmap::fromImage(glyph);
}

}  // namespace

QPixmap printerGlyph() {
    return twoImages(20, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(5, 1, 9, 7);                  // paper coming in at the back
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(1, 7, 17, 7);                 // the printer's body
        p.setBrush(QColor(128, 128, 128));
        p.drawRect(3, 14, 13, 3);                // the base
        p.setBrush(Qt::white);
        p.drawRect(5, 11, 9, 7);                 // printed page coming out
        p.setPen(QColor(0, 0, 128));
        p.drawLine(7, 14, 12, 14);
        p.drawLine(7, 16, 11, 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 255, 0));
        p.drawRect(15, 9, 2, 1);                 // the lamp
    });
}

QPixmap openDoorGlyph() {
    return twoImages(20, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(64, 64, 64));
        p.drawRect(6, 1, 10, 17);                // the dark doorway
        QPainterPath door;                       // the door swung open toward the viewer
        door.moveTo(6, 1);
        door.lineTo(1, 4);
        door.lineTo(1, 19);
        door.lineTo(6, 18);
        door.closeSubpath();
        p.setBrush(QColor(160, 96, 32));
        p.drawPath(door);
        p.setBrush(QColor(255, 255, 0));
        p.drawRect(3, 10, 1, 1);                 // the handle
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(1, 19, 19, 19);               // the floor
    });
}

QPixmap documentsGlyph() {
    return twoImages(20, [](QPainter& p) {
        auto page = [&p](int x, int y) {
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(x, y, 7, 9);
            p.setPen(QColor(0, 0, 128));
            for (int line = 2; line <= 7; line += 2) p.drawLine(x + 2, y + line, x + 5, y + line);
        };
        page(1, 1);
        page(11, 9);
        p.setPen(QPen(QColor(0, 128, 0), 1));
        p.drawLine(10, 3, 15, 3);                // arrow to the second page
        p.drawLine(15, 3, 15, 7);
        p.drawLine(13, 5, 15, 7);
        p.drawLine(17, 5, 15, 7);
        p.setPen(QPen(QColor(255, 0, 0), 1));
        p.drawLine(9, 16, 4, 16);                // arrow back to the first
        p.drawLine(4, 16, 4, 12);
        p.drawLine(2, 14, 4, 12);
        p.drawLine(6, 14, 4, 12);
    });
}

QPixmap checkMarkGlyph() {
    return twoImages(16, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(255, 0, 0), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawLine(2, 8, 6, 12);
        p.drawLine(6, 12, 13, 3);
    });
}

}  // namespace mainform
