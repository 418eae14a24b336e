#include "font.h"

#include <QFontDatabase>
#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace forms {

void installKoreanFace() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    const QStringList preferred{QStringLiteral("Baekmuk Gulim"), QStringLiteral("NanumGothic"),
                                QStringLiteral("Baekmuk Dotum"), QStringLiteral("Noto Sans CJK KR")};
    const QStringList families = QFontDatabase::families(QFontDatabase::Korean);
    QStringList available;
    for (const QString& face : preferred)
        if (families.contains(face, Qt::CaseInsensitive)) available << face;
    if (available.isEmpty() && !families.isEmpty()) available << families.first();
    if (!available.isEmpty()) QFont::insertSubstitutions(kGulimFace, available);
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
