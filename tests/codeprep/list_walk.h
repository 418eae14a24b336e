// Reading the preparation form's lists the way the preparation does.
#pragma once

#include <string>
#include <vector>

#include "forms/combo_box.h"

namespace codeprep_test {

// Every item of a list: item i made current, then the list's text.
inline std::vector<std::string> walk(forms::ComboBox& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.itemCount(); ++i) {
        list.setItemIndex(i);
        items.push_back(list.text());
    }
    return items;
}

inline std::string trimmed(std::string code) {
    while (!code.empty() && code.back() == ' ') code.pop_back();
    return code;
}

}  // namespace codeprep_test
