#include "combo_box.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace forms {

ComboBox::ComboBox(const std::string& name, QWidget* parent) : QComboBox(parent) {
    setObjectName(QString::fromStdString(name));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
    // Entries must be matched exactly as stored, trailing blanks included.
    setDuplicatesEnabled(true);
}

void ComboBox::clearItems() {
    QSignalBlocker block(this);
    const QString keep = lineEdit() ? lineEdit()->text() : QString();
    clear();
    if (lineEdit()) lineEdit()->setText(keep);
}

void ComboBox::addItem(const std::string& item) {
    QSignalBlocker block(this);
    const QString keep = lineEdit() ? lineEdit()->text() : QString();
    const int before = currentIndex();
    QComboBox::addItem(QString::fromStdString(item));
    // Adding the first entry must not select it.
    if (before < 0 && currentIndex() >= 0) {
        setCurrentIndex(-1);
        if (lineEdit()) lineEdit()->setText(keep);
    }
}

void ComboBox::setItems(const std::vector<std::string>& items) {
    clearItems();
    for (const auto& item : items) addItem(item);
}

std::string ComboBox::item(int index) const { return itemText(index).toStdString(); }

void ComboBox::setItemIndex(int index) {
    QSignalBlocker block(this);
    if (index < 0 || index >= count()) {
        const QString keep = lineEdit() ? lineEdit()->text() : QString();
        setCurrentIndex(-1);
        if (lineEdit()) lineEdit()->setText(keep);
        return;
    }
    setCurrentIndex(index);
    if (lineEdit()) lineEdit()->setText(itemText(index));
}

std::string ComboBox::text() const {
    return (lineEdit() ? lineEdit()->text() : currentText()).toStdString();
}

void ComboBox::setText(const std::string& text) {
    QSignalBlocker block(this);
    if (lineEdit()) lineEdit()->setText(QString::fromStdString(text));
}

}  // namespace forms
