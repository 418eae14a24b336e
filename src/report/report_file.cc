#include "report_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "paint.h"
#include "units.h"

namespace report {
namespace {

const QString kFormat = QStringLiteral("morvel-report");
constexpr int kVersion = 1;

QJsonArray rectToJson(const QRectF& r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRectF rectFromJson(const QJsonValue& v) {
    const QJsonArray a = v.toArray();
    return QRectF(a.at(0).toDouble(), a.at(1).toDouble(), a.at(2).toDouble(), a.at(3).toDouble());
}

QJsonObject fontToJson(const TextFont& f) {
    return {{"family", f.family}, {"points", f.pointSize}, {"bold", f.bold}, {"underline", f.underline},
            {"color", f.color.name()}};
}
TextFont fontFromJson(const QJsonObject& o) {
    TextFont f;
    f.family = o["family"].toString();
    f.pointSize = o["points"].toInt();
    f.bold = o["bold"].toBool();
    f.underline = o["underline"].toBool();
    f.color = QColor(o["color"].toString());
    return f;
}

QJsonObject textToJson(const PlacedText& t) {
    return {{"name", t.name},
            {"rect", rectToJson(t.rect)},
            {"text", t.text},
            {"lines", QJsonArray::fromStringList(t.lines)},
            {"font", fontToJson(t.font)},
            {"alignment", static_cast<int>(t.alignment)},
            {"transparent", t.transparent},
            {"color", t.color.name()}};
}
PlacedText textFromJson(const QJsonObject& o) {
    PlacedText t;
    t.name = o["name"].toString();
    t.rect = rectFromJson(o["rect"]);
    t.text = o["text"].toString();
    for (const QJsonValue& line : o["lines"].toArray()) t.lines << line.toString();
    t.font = fontFromJson(o["font"].toObject());
    t.alignment = static_cast<forms::Alignment>(o["alignment"].toInt());
    t.transparent = o["transparent"].toBool();
    t.color = QColor(o["color"].toString());
    return t;
}

QJsonObject bandToJson(const PlacedBand& b) {
    QJsonArray texts;
    for (const PlacedText& t : b.texts) texts.append(textToJson(t));
    return {{"name", b.name},
            {"kind", static_cast<int>(b.kind)},
            {"rect", rectToJson(b.rect)},
            {"frameTop", b.frame.drawTop},
            {"frameBottom", b.frame.drawBottom},
            {"frameColor", b.frame.color.name()},
            {"frameWidth", b.frame.width},
            {"frameStyle", static_cast<int>(b.frame.style)},
            {"color", b.color.name()},
            {"texts", texts}};
}
PlacedBand bandFromJson(const QJsonObject& o) {
    PlacedBand b;
    b.name = o["name"].toString();
    b.kind = static_cast<BandKind>(o["kind"].toInt());
    b.rect = rectFromJson(o["rect"]);
    b.frame.drawTop = o["frameTop"].toBool();
    b.frame.drawBottom = o["frameBottom"].toBool();
    b.frame.color = QColor(o["frameColor"].toString());
    b.frame.width = o["frameWidth"].toInt();
    b.frame.style = static_cast<Qt::PenStyle>(o["frameStyle"].toInt());
    b.color = QColor(o["color"].toString());
    for (const QJsonValue& t : o["texts"].toArray()) b.texts.push_back(textFromJson(t.toObject()));
    return b;
}

}  // namespace

bool saveReportFile(const ProducedReport& report, const QString& path, QString* error) {
    QJsonArray pages;
    for (const ProducedPage& page : report.pages) {
        QJsonArray bands;
        for (const PlacedBand& b : page.bands) bands.append(bandToJson(b));
        pages.append(QJsonObject{{"number", page.number}, {"bands", bands}});
    }
    const QJsonObject root{{"format", kFormat},
                           {"version", kVersion},
                           {"pageWidth", report.pageSize.width()},
                           {"pageHeight", report.pageSize.height()},
                           {"pages", pages}};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(QJsonDocument(root).toJson(QJsonDocument::Compact)) < 0 || !file.flush()) {
        if (error) *error = QStringLiteral("Cannot write file %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

std::optional<ProducedReport> loadReportFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("Cannot open file %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    const QJsonObject root = doc.object();
    if (parseError.error != QJsonParseError::NoError || root["format"].toString() != kFormat ||
        root["version"].toInt() != kVersion) {
        if (error) *error = QStringLiteral("%1 is not a report file.").arg(path);
        return std::nullopt;
    }
    ProducedReport report;
    report.pageSize = QSizeF(root["pageWidth"].toDouble(), root["pageHeight"].toDouble());
    for (const QJsonValue& p : root["pages"].toArray()) {
        ProducedPage page;
        page.number = p["number"].toInt();
        for (const QJsonValue& b : p["bands"].toArray()) page.bands.push_back(bandFromJson(b.toObject()));
        report.pages.push_back(std::move(page));
    }
    return report;
}

bool writePdf(const ProducedReport& report, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    const QPageSize size(QSizeF(unitsToMm(report.pageSize.width()), unitsToMm(report.pageSize.height())),
                         QPageSize::Millimeter);
    writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return renderPages(report, writer, PageRange{}, 1);
}

}  // namespace report
