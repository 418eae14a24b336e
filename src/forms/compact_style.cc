#include "compact_style.h"

#include <QApplication>
#include <QStyleOption>

namespace forms {

QRect CompactStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                   const QWidget* widget) const {
    if (control == CC_ComboBox) {
        const QRect r = option->rect;
        switch (part) {
        case SC_ComboBoxArrow:
            return QRect(r.right() - kArrowWidth - 1, r.top() + 2, kArrowWidth, r.height() - 4);
        case SC_ComboBoxEditField:
            return QRect(r.left() + 1, r.top() + 2, r.width() - kArrowWidth - 3, r.height() - 4);
        case SC_ComboBoxFrame:
            return r;
        default:
            break;
        }
    }
    return QProxyStyle::subControlRect(control, option, part, widget);
}

CompactStyle* CompactStyle::instance() {
    static CompactStyle* style = [] {
        auto* s = new CompactStyle;
        s->setParent(qApp);  // freed with the application
        return s;
    }();
    return style;
}

}  // namespace forms
