#include "combo_box.h"

#include <QAbstractItemView>
#include <algorithm>
#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyle>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>

#include "application.h"
#include "bit_btn.h"
#include "compact_style.h"
#include "focus_moves.h"

namespace forms {
namespace {

// Focus moves that are the user's or the code's own inside the window; window
// activation and the list's popup are none.
bool movesFocusInWindow(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason && reason != Qt::NoFocusReason;
}

}  // namespace

ComboBox::ComboBox(const std::string& name, QWidget* parent) : QComboBox(parent) {
    setObjectName(QString::fromStdString(name));
    setStyle(CompactStyle::instance());
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
    setCompleter(nullptr);
    // Entries must be matched exactly as stored, trailing blanks included.
    setDuplicatesEnabled(true);
    // The edit field selects nothing on its own when it finishes editing or sees Enter.
    QObject::disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    QObject::disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);

    connect(this, &QComboBox::activated, this, [this](int) { userPicked(); });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString&) { userEdited(); });
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { showSelectionInList(); });
    // While the list is open the keyboard still talks to the box.
    view()->installEventFilter(this);
    // A click into the edit field ends there, not at the box.
    lineEdit()->installEventFilter(this);
    watchFocusMoves();
}

ComboBox::~ComboBox() {
    onChange = nullptr;
    onEnter = nullptr;
    onExit = nullptr;
    onKeyPress = nullptr;
}

void ComboBox::clearItems() {
    QSignalBlocker block(this);
    clear();
    lineEdit()->clear();
    textByCode_.clear();
}

void ComboBox::addItem(const std::string& item) {
    QSignalBlocker block(this);
    const QString keep = lineEdit()->text();
    const int before = currentIndex();
    QComboBox::addItem(QString::fromStdString(item));
    // Adding the first entry must not select it.
    if (before < 0 && currentIndex() >= 0) {
        setCurrentIndex(-1);
        lineEdit()->setText(keep);
    }
}

void ComboBox::setItems(const std::vector<std::string>& items) {
    const std::string keep = text();
    clearItems();
    for (const auto& item : items) addItem(item);
    setText(keep);
}

std::string ComboBox::item(int index) const { return itemText(index).toStdString(); }

void ComboBox::setItemIndex(int index) {
    if (index < 0 || index >= count()) {
        selectKeepingText(-1);
        return;
    }
    QSignalBlocker block(this);
    setCurrentIndex(index);
    lineEdit()->setText(itemText(index));
    textByCode_ = lineEdit()->text();
    showTextStart();
}

std::string ComboBox::text() const { return lineEdit()->text().toStdString(); }

void ComboBox::setText(const std::string& text) {
    QSignalBlocker block(this);
    lineEdit()->setText(QString::fromStdString(text));
    textByCode_ = lineEdit()->text();
    showTextStart();
}

bool ComboBox::editedOffTheList() const {
    const QString now = lineEdit()->text();
    return now != textByCode_ && findText(now, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0;
}

void ComboBox::showTextStart() {
    // While the user works in the box the caret stays where editing goes on.
    if (!hasFocus()) lineEdit()->setCursorPosition(0);
}

int ComboBox::prefixMatch(const QString& text) const {
    if (text.isEmpty()) return -1;
    for (int i = 0; i < count(); ++i)
        if (itemText(i).startsWith(text, Qt::CaseInsensitive)) return i;
    return -1;
}

void ComboBox::selectKeepingText(int index) {
    QSignalBlocker block(this);
    const QString keep = lineEdit()->text();
    const int cursor = lineEdit()->cursorPosition();
    setCurrentIndex(index);
    if (lineEdit()->text() != keep) {
        lineEdit()->setText(keep);
        lineEdit()->setCursorPosition(cursor);
    }
}

void ComboBox::openList() {
    if (listOpen()) return;
    // A list shown during the click that focused the box would lose that click's
    // release to the list and close at once: it waits for the release.
    if (QGuiApplication::mouseButtons() != Qt::NoButton && underMouse()) {
        openOnRelease_ = true;
        return;
    }
    showListNow();
}

void ComboBox::showListNow() {
    openOnRelease_ = false;
    if (!listOpen()) showPopup();
}

void ComboBox::showPopup() {
    selectKeepingText(prefixMatch(lineEdit()->text()));
    // Wide enough for every entry (as the list draws it, margins included) beside the
    // scroll bar.
    const int widest = view()->sizeHintForColumn(modelColumn());
    const int frame = 2 * view()->frameWidth();
    const int scrollBar = count() > maxVisibleItems() ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    view()->setMinimumWidth(std::max(width(), widest + frame + scrollBar));
    // The list takes the focus as it opens; the box takes it back, so that the focus
    // stays in the box as long as the list is open.
    const bool hadFocus = QApplication::focusWidget() == this;
    openingList_ = true;
    QComboBox::showPopup();
    if (hadFocus && QApplication::focusWidget() != this) setFocus(Qt::PopupFocusReason);
    openingList_ = false;
    showSelectionInList();
}

void ComboBox::enterAgain() {
    if (window()->focusWidget() == this) entered_ = false;
    if (!hasFocus()) {
        // Arrives now, or with the window's activation: an entry either way.
        setFocus(Qt::OtherFocusReason);
        return;
    }
    entered_ = true;
    if (onEnter) runHandler(onEnter);
}

void ComboBox::showSelectionInList() {
    if (!listOpen()) return;
    // The open list highlights the selected entry, and none while no entry is selected.
    if (currentIndex() >= 0) view()->setCurrentIndex(model()->index(currentIndex(), modelColumn()));
    else view()->selectionModel()->clear();
}

void ComboBox::closeList() {
    openOnRelease_ = false;
    if (listOpen()) hidePopup();
}

bool ComboBox::listOpen() const { return view()->isVisible(); }

void ComboBox::fireChange() {
    if (onChange) runHandler(onChange);
}

void ComboBox::userPicked() { fireChange(); }

void ComboBox::pickHighlightedEntry() {
    if (!listOpen()) return;
    const QModelIndexList highlighted = view()->selectionModel()->selectedIndexes();
    if (highlighted.isEmpty()) return;
    const int row = highlighted.front().row();
    if (row == currentIndex() && lineEdit()->text() == itemText(row)) return;
    {
        QSignalBlocker block(this);
        setCurrentIndex(row);
        lineEdit()->setText(itemText(row));
    }
    fireChange();
}

void ComboBox::userEdited() {
    // An edit selects the first entry the text begins with while the list is open,
    // and no entry while it is closed.
    selectKeepingText(listOpen() ? prefixMatch(lineEdit()->text()) : -1);
    showSelectionInList();
    fireChange();
}

QChar ComboBox::characterOf(const QKeyEvent* event) {
    const int key = event->key();
    const auto mods = event->modifiers();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return {};
    if (mods & Qt::AltModifier) return {};
    // With Ctrl, Backspace gives DEL and Enter a line feed, as the keyboard sends them.
    const bool ctrl = mods & Qt::ControlModifier;
    if (key == Qt::Key_Backspace) return QChar(ctrl ? 127 : 8);
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return QChar(ctrl ? 10 : 13);
    if (key == Qt::Key_Escape) return QChar(27);
    if (mods & Qt::ControlModifier) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return QChar(key - Qt::Key_A + 1);
        switch (key) {
        case Qt::Key_BracketLeft: return QChar(27);
        case Qt::Key_Backslash: return QChar(28);
        case Qt::Key_BracketRight: return QChar(29);
        case Qt::Key_AsciiCircum: return QChar(30);
        case Qt::Key_Underscore: return QChar(31);
        default: return {};
        }
    }
    const QString text = event->text();
    if (text.isEmpty()) return {};
    const QChar c = text.front();
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return {};
    return c;
}

bool ComboBox::passCharacter(QChar& key) {
    if (!onKeyPress) return true;
    const QPointer<ComboBox> self(this);
    runHandler([&] { onKeyPress(key); });
    return self && !key.isNull();
}

void ComboBox::keyPressEvent(QKeyEvent* event) {
    const QChar original = characterOf(event);
    const bool letterOrDigit = (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) ||
                               (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9);
    if (letterOrDigit && (event->modifiers() & Qt::AltModifier) && listOpen()) {
        // An access key while the list is open: the list closes, the button acts.
        closeList();
        if (clickAccessKey(window(), event)) {
            event->accept();
            return;
        }
    }
    if (original.isNull()) {
        QComboBox::keyPressEvent(event);
        return;
    }
    QChar key = original;
    const QPointer<ComboBox> self(this);
    if (original == QChar(13)) {
        pickHighlightedEntry();
        if (!self) return;
    }
    if (!passCharacter(key)) {
        event->accept();
        return;
    }
    if (!self) return;
    if (key == original) {
        QComboBox::keyPressEvent(event);
    } else {
        lineEdit()->insert(QString(key));
        userEdited();
    }
}

void ComboBox::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        QComboBox::inputMethodEvent(event);
        return;
    }
    QString accepted;
    const QPointer<ComboBox> self(this);
    for (QChar c : commit) {
        QChar key = c;
        if (passCharacter(key)) accepted += key;
        if (!self) return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(accepted, event->replacementStart(), event->replacementLength());
    QComboBox::inputMethodEvent(&filtered);
    event->accept();
}

void ComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    if (!lineEdit()->hasSelectedText()) lineEdit()->end(false);
    // A box the focus has not left (it was only in the box's own list, or in another
    // window) is not entered again. Focus given while the window was inactive (after a
    // modal box) comes with the activation; that is an entry too.
    if (entered_ || event->reason() == Qt::PopupFocusReason) return;
    entered_ = true;
    if (onEnter) runHandler(onEnter);
}

void ComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    lineEdit()->setCursorPosition(0);
    // Only a box the focus had entered is left; a box that was to receive the focus
    // but had it taken back before it arrived is not. The focus going into the box's
    // own list does not leave the box.
    if (!movesFocusInWindow(event->reason()) || !entered_ || openingList_) return;
    if (const QWidget* now = QApplication::focusWidget(); now && now->window() == view()->window()) return;
    leave(event->reason() == Qt::MouseFocusReason);
}

void ComboBox::leave(bool byClick) {
    byClick = byClick && QGuiApplication::mouseButtons() != Qt::NoButton;
    entered_ = false;
    openOnRelease_ = false;
    if (!onExit) return;
    const QPointer<ComboBox> self(this);
    runHandler(onExit);
    // An exit that took the focus back stops the click that was to move it.
    if (byClick && self && window()->focusWidget() == this) stopClickInProgress();
}

void ComboBox::mouseReleaseEvent(QMouseEvent* event) {
    QComboBox::mouseReleaseEvent(event);
    if (openOnRelease_ && hasFocus()) showListNow();
    openOnRelease_ = false;
}

bool ComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease && openOnRelease_) {
        if (hasFocus()) showListNow();
        openOnRelease_ = false;
        return false;
    }
    // Enter in the open list is the box's key, not a pick of the list's current row
    // (which the list sets to its first entry without showing it).
    if (watched == view() && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            key->accept();
            return true;
        }
    }
    if (watched == view() && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Alt+Down and F4 close the list as usual; everything else goes to the box.
        const bool closesList = key->key() == Qt::Key_F4 ||
                                (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier)) ||
                                (key->key() == Qt::Key_Up && (key->modifiers() & Qt::AltModifier));
        if (!closesList) {
            QApplication::sendEvent(this, event);
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace forms
