// A produced report as plain data: pages, the bands placed on them and the texts of each
// band with what they print. Painting, saving and tests all work from this.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

#include "band.h"
#include "text_font.h"

namespace report {

struct PlacedText {
    QString name;
    QRectF rect;        // page coordinates in layout units
    QString text;       // the whole text
    QStringList lines;  // the lines that show within the box, top down
    TextFont font;
    forms::Alignment alignment = forms::Alignment::Left;
    bool transparent = true;
    QColor color = Qt::white;
};

struct PlacedBand {
    QString name;
    BandKind kind = BandKind::Detail;
    QRectF rect;  // page coordinates in layout units
    BandFrame frame;
    QColor color = Qt::white;
    std::vector<PlacedText> texts;

    const PlacedText* text(const QString& textName) const;
};

struct ProducedPage {
    int number = 0;
    std::vector<PlacedBand> bands;

    std::vector<const PlacedBand*> bandsNamed(const QString& bandName) const;
};

struct ProducedReport {
    QSizeF pageSize;  // layout units
    std::vector<ProducedPage> pages;
};

}  // namespace report
