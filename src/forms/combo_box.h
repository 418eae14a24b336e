// A drop-down box with an edit field and a list of entries (unsorted, eight entries
// shown at a time), read by item index, with the events the forms handle:
//  - onChange: the user picked another entry (mouse or arrow keys) or edited the
//    text; never when code sets the text or the index;
//  - onEnter / onExit: the focus came into the box / is moving from it to another
//    control of the same window, by a key, a click or code (not when another window or
//    the box's own list takes it). An exit handler may give the focus back to the box;
//    the other control then never gets it, and a clicked control does not act on the
//    click. Focus given to a box while its window is inactive (behind a modal box)
//    arrives with the window's activation, and that is an entry too;
//  - onKeyPress: every character the box receives, by reference; set it to the null
//    character to drop it (Ctrl+Backspace arrives as 127, Ctrl+Enter as 10). Tab, keys
//    without a character and Alt combinations never come here. Enter in the open list
//    comes here too; when the list highlights an entry (the one under the resting mouse
//    pointer, say) that is not the box's selected entry and text, Enter picks it first,
//    as a click would.
#pragma once

#include <QChar>
#include <QComboBox>
#include <functional>
#include <string>
#include <vector>

namespace forms {

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    ComboBox(const std::string& name, QWidget* parent);
    ~ComboBox() override;

    std::string name() const { return objectName().toStdString(); }

    // Entries, in the order added (never sorted). Clearing the entries clears the text;
    // setItems() fills the list and keeps the text (the form's data sets both).
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
    // Whether the user has changed the text (typed, deleted, pasted) into something that
    // is none of the entries. A text that code gave the box is never such a text.
    bool editedOffTheList() const;

    // The box's hint text (the pick lists keep their last-change record in it).
    std::string hint() const { return hint_; }
    void setHint(const std::string& hint) { hint_ = hint; }

    // The list: opening it, by code, a click on the arrow or a key, selects the first
    // entry that begins with the text (letter case ignored; none for an empty text)
    // without a change event, and shows every entry whole: the list is as wide as its
    // longest entry, wider than the box where need be. Asked while a mouse button is
    // down (the click that brought the focus), it opens once the button is released.
    void openList();
    void closeList();
    bool listOpen() const;
    void showPopup() override;

    // Gives the box the focus as a new entry: the entry handler runs again, also when
    // the focus is in the box already; behind a modal box, once the window is active.
    void enterAgain();

    // The input method the box names; kept for the form's data, the system's own
    // input method serves every box.
    QString imeName() const { return imeName_; }
    void setImeName(const QString& name) { imeName_ = name; }
    int itemHeight() const { return itemHeight_; }
    void setItemHeight(int height) { itemHeight_ = height; }

    std::function<void()> onChange;
    std::function<void()> onEnter;
    std::function<void()> onExit;
    std::function<void(QChar&)> onKeyPress;

    // The character a key event delivers to a box, or the null character for keys that
    // deliver none (arrows, Delete, function keys, Tab, Alt combinations).
    static QChar characterOf(const QKeyEvent* event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class FocusMoveWatcher;
    // The focus moves from the box to another control of its window: runs the exit
    // handler. `byClick`: a mouse press is moving it.
    void leave(bool byClick);
    void userPicked();
    void userEdited();
    // The first entry beginning with `text`, -1 for none or an empty text.
    int prefixMatch(const QString& text) const;
    // Selects an index while keeping the edit field's text.
    void selectKeepingText(int index);
    void fireChange();
    // Runs the key handler on one character; true when the box is to receive it.
    bool passCharacter(QChar& key);
    // Enter in the open list: the highlighted entry, unless it is the selected entry and
    // the text already, becomes the user's pick.
    void pickHighlightedEntry();
    void showListNow();
    void showSelectionInList();
    // A box without the focus shows the start of its text.
    void showTextStart();

    std::string hint_;
    QString textByCode_;  // the text code gave the box last
    QString imeName_;
    int itemHeight_ = 13;
    bool entered_ = false;
    bool openingList_ = false;
    bool openOnRelease_ = false;
};

}  // namespace forms
