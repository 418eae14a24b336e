#include "font.h"

#include <QFontDatabase>
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
    return font;
}

void setControlFont(QWidget* control, const QFont& font, const QColor& color) {
    control->setFont(font);
    QPalette p = control->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::Text, color);
    control->setPalette(p);
}

}  // namespace forms
