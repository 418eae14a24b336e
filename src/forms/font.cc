#include "font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace forms {

namespace {

// The installed Korean faces that stand in for "굴림", best first.
QStringList koreanStandIns() {
    static const QStringList available = [] {
        const QStringList preferred{QStringLiteral("Baekmuk Gulim"), QStringLiteral("NanumGothic"),
                                    QStringLiteral("Baekmuk Dotum"), QStringLiteral("Noto Sans CJK KR")};
        const QStringList families = QFontDatabase::families(QFontDatabase::Korean);
        QStringList found;
        for (const QString& face : preferred)
            if (families.contains(face, Qt::CaseInsensitive)) found << face;
        if (found.isEmpty() && !families.isEmpty()) found << families.first();
        return found;
    }();
    return available;
}

}  // namespace

void installKoreanFace() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    if (!koreanStandIns().isEmpty()) QFont::insertSubstitutions(kGulimFace, koreanStandIns());
}

QString resolvedFamily(const QString& family) {
    if (family != kGulimFace || QFontDatabase::families().contains(family) || koreanStandIns().isEmpty())
        return family;
    return koreanStandIns().first();
}

QFont gulimFont(int pixelSize, bool bold) {
    QFont font(kGulimFace);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // The stand-in faces' hinting instructions break their emboldened glyphs at window
    // sizes (the tops of 12 and 13 pixel bold syllables go missing); unhinted outlines
    // keep every stroke, bold or not.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

int designDigitWidth(const QFont& font) {
    // The face the forms were laid out for has digits half its character height wide;
    // a stand-in face's wider digits must not widen the columns and boxes sized by them.
    if (font.family() == kGulimFace && font.pixelSize() > 0) return font.pixelSize() / 2;
    return QFontMetrics(font).horizontalAdvance(QLatin1Char('0'));
}

void setControlFont(QWidget* control, const QFont& font, const QColor& color) {
    control->setFont(font);
    QPalette p = control->palette();
    // The colour is that of an enabled control, in an active window or not; a disabled
    // control keeps the palette's disabled text colour, so it looks disabled.
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            p.setColor(group, role, color);
    control->setPalette(p);
}

}  // namespace forms
