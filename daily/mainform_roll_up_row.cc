#include "mainform_roll_up_row.h"

#include <algorithm>

namespace mainform {

bool isRollUpCode(const std::string& code) {
    constexpr std::size_t first = 5;  // character 6, counted from 0
    constexpr std::size_t length = 6;
    if (code.size() < first + length) return false;
    const std::string part = code.substr(first, length);
    if (!std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    return std::stoll(part) == 0;
}

void drawRollUpCell(forms::DBGrid& grid, const QRect& rect, int dataCol, forms::Column& column,
                    const forms::Field& code) {
    if (!isRollUpCode(code.asString())) return;
    forms::Canvas& canvas = grid.canvas();
    canvas.setBrushColor(rollUpBrushColor);
    canvas.setFontSize(rollUpFontSize);
    canvas.setFontStyle(forms::FontStyle::Bold);
    grid.defaultDrawColumnCell(rect, dataCol, column, forms::DrawCellState());
}

}  // namespace mainform
