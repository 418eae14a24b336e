#include "mainform_pick_lists.h"

#include "forms/combo_box.h"
#include "forms/form.h"
#include "forms/message_box.h"

namespace mainform {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

}  // namespace

bool pickListAccepts(QChar key) {
    switch (key.unicode()) {
    case kBackspace:
    case kEnter:
    case 25:  // Ctrl+Y
    case 26:  // Ctrl+Z
    case 28:  // Ctrl+Backslash
        return true;
    default:
        return false;
    }
}

void pickListChange(forms::ComboBox& box) { box.setHint(std::to_string(box.itemIndex())); }

void pickListEnter(forms::ComboBox& box) { box.openList(); }

void pickListExit(forms::ComboBox& box) {
    box.closeList();
    if (box.itemIndex() == -1 || box.hint() == "-1") {
        forms::showWarning(kWrongPickMessage);
        box.setFocus(Qt::OtherFocusReason);
    }
}

bool pickListsHoldEntries(forms::Form& form) {
    for (QWidget* control : form.tabOrderList()) {
        auto* box = qobject_cast<forms::ComboBox*>(control);
        if (!box || !box->editedOffTheList()) continue;
        forms::showWarning(kWrongPickMessage);
        box->enterAgain();
        return false;
    }
    return true;
}

void pickListKeyPress(forms::Form& form, forms::ComboBox& box, QChar& key, const std::string& formCaption) {
    if (pickListAccepts(key)) {
        form.setCaption(kKeyAcceptedCaption);
    } else {
        forms::showPlainMessage(kWrongKeyMessage);
        key = QChar();
    }
    if (key.unicode() == kEnter) {
        form.selectNext(&box, true);
        key = QChar();
    }
    form.setCaption(formCaption);
}

}  // namespace mainform
