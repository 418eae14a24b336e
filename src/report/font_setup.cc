#include "font_setup.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>
#include <map>

namespace report {
namespace {

const std::map<QString, QStringList>& standIns() {
    static const std::map<QString, QStringList> table{
        {QStringLiteral("굴림"), {QStringLiteral("Baekmuk Gulim"), QStringLiteral("NanumGothic")}},
    };
    return table;
}

}  // namespace

QString resolvedFamily(const QString& family) {
    static std::map<QString, QString> cache;
    if (const auto hit = cache.find(family); hit != cache.end()) return hit->second;
    QString result = family;
    const QStringList installed = QFontDatabase::families();
    const auto entry = standIns().find(family);
    if (entry != standIns().end() && !installed.contains(family)) {
        for (const QString& candidate : entry->second) {
            if (installed.contains(candidate)) {
                result = candidate;
                break;
            }
        }
    }
    cache.emplace(family, result);
    return result;
}

void installFontSubstitutions() {
    for (const auto& [family, candidates] : standIns()) {
        const QString face = resolvedFamily(family);
        if (face != family) QFont::insertSubstitution(family, face);
    }
}

}  // namespace report
