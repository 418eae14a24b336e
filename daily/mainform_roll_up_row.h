// The roll-up rule of the summary grids and reports: a row whose code is a class,
// section or group heading, or a summary row, stands out (bold on aqua in the grid,
// larger bold type in the report).
#pragma once

#include <QColor>
#include <QRect>
#include <string>

#include "forms/db_grid.h"
#include "forms/fields.h"

namespace mainform {

// Aqua: red 0, green 255, blue 255.
inline const QColor rollUpBrushColor{0, 255, 255};
inline constexpr int rollUpFontSize = 9;  // points

// True when characters 6 to 11 (counted from 1) of the code are six decimal digits
// that read as the number 0. Shorter codes, letters or blanks there, or an empty code
// do not read as a whole number and make an ordinary row.
bool isRollUpCode(const std::string& code);

// The cell-drawing handler's work for one cell: when the row's code (read from the
// code field for the row being drawn) is a roll-up code, draws the cell again on aqua
// in 9 point bold; otherwise leaves the cell as the grid drew it.
void drawRollUpCell(forms::DBGrid& grid, const QRect& rect, int dataCol, forms::Column& column,
                    const forms::Field& code);

}  // namespace mainform
