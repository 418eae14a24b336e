// The look of the small controls of the forms: drop-down boxes 21 pixels high and
// 38 pixels wide must still show two or four digits, so their arrow is narrow and
// their frame thin.
#pragma once

#include <QProxyStyle>

namespace forms {

class CompactStyle : public QProxyStyle {
public:
    static constexpr int kArrowWidth = 15;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;

    // The one shared instance (owned by the application's style machinery).
    static CompactStyle* instance();
};

}  // namespace forms
