// The criteria pick lists of both main forms: a list opens when its box gets the
// focus, typed characters other than Backspace, Enter, Ctrl+Y, Ctrl+Z and Ctrl+\ are
// refused, Enter moves on to the next control of the tab order, and the focus cannot
// leave a box while no entry is picked. Each box keeps the selected index of its last
// change in its Hint as the record of that change.
#pragma once

#include <QChar>
#include <string>

namespace forms {
class ComboBox;
class Form;
}  // namespace forms

namespace mainform {

inline constexpr const char* kWrongPickMessage = "잘못 선택 하였읍니다.....";
inline constexpr const char* kWrongKeyMessage = "잘못 입력하셨습니다";
inline constexpr const char* kKeyAcceptedCaption = "success";

// Change: records the selected index in the box's Hint.
void pickListChange(forms::ComboBox& box);
// Enter: opens the list.
void pickListEnter(forms::ComboBox& box);
// Exit: closes the list; without a picked entry warns and takes the focus back.
void pickListExit(forms::ComboBox& box);
// Key press on `box` of `form`, whose own caption is `formCaption`.
void pickListKeyPress(forms::Form& form, forms::ComboBox& box, QChar& key, const std::string& formCaption);

// Whether a character passes to the box (Backspace, Enter, Ctrl+Y, Ctrl+Z, Ctrl+\).
bool pickListAccepts(QChar key);

// The check every run and print request of `form` makes first, however it was asked for
// (a click, a key on the button, its access key, which moves no focus and so runs no exit
// test): a box whose text the user has changed into none of its entries (emptied,
// shortened, pasted) shows the exit test's warning and takes the focus with its list
// open, and the request runs nothing. Texts that start-up gave the boxes pass.
bool pickListsHoldEntries(forms::Form& form);

}  // namespace mainform
