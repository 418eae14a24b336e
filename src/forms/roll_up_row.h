// The highlighting rule of the summary grids: a roll-up row (a class, section or group
// heading, or a summary row) is drawn in bold on aqua.
#pragma once

#include <QColor>
#include <QRect>
#include <string>

#include "db_grid.h"
#include "fields.h"

namespace forms {

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
void drawRollUpCell(DBGrid& grid, const QRect& rect, int dataCol, Column& column, const Field& code);

}  // namespace forms
