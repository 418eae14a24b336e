// A drop-down box with an edit field and a list of entries, read by item index.
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

namespace forms {

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    ComboBox(const std::string& name, QWidget* parent);

    std::string name() const { return objectName().toStdString(); }

    // Entries, in the order added (never sorted).
    void clearItems();
    void addItem(const std::string& item);
    void setItems(const std::vector<std::string>& items);
    int itemCount() const { return count(); }
    std::string item(int index) const;

    // The selected entry, -1 when none. Setting an index also shows its entry as the
    // text; -1 keeps the text. Neither raises a change event.
    int itemIndex() const { return currentIndex(); }
    void setItemIndex(int index);

    // The edit field's text, exactly as stored (trailing blanks kept).
    std::string text() const;
    void setText(const std::string& text);

    // The box's hint text (the pick lists keep their last-change record in it).
    std::string hint() const { return hint_; }
    void setHint(const std::string& hint) { hint_ = hint; }

private:
    std::string hint_;
};

}  // namespace forms
