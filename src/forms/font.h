// Fonts of the forms. The forms name the Korean face "굴림", which Linux systems do
// not have: installKoreanFace() maps it to one installed Korean face, so the whole
// text of a window (and of a printed page) comes from that one face.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace forms {

// The face the forms name.
inline const QString kGulimFace = QStringLiteral("굴림");

// Substitutes "굴림" by the first installed of Baekmuk Gulim, NanumGothic, or another
// Korean face. Called by the Application; tests may call it themselves.
void installKoreanFace();

// The installed face drawn for a family: "굴림" resolves to the one Korean face above (so a
// printed page names the face itself, whatever the substitutions); a family this machine
// has, or another missing one, is returned unchanged.
QString resolvedFamily(const QString& family);

// The face "굴림" with a character height in pixels.
QFont gulimFont(int pixelSize, bool bold = false);

// The width of the digit "0" that layouts by character count use: for "굴림" the width
// of the face the forms were laid out for (half the character height), whatever face
// stands in for it; for other faces their own.
int designDigitWidth(const QFont& font);

// Sets a control's font and text colour; disabled, the control shows the palette's
// disabled text colour instead (its children likewise).
void setControlFont(QWidget* control, const QFont& font, const QColor& color);

// The colours the forms name.
inline const QColor kClGreen{0, 128, 0};
inline const QColor kClMaroon{128, 0, 0};
inline const QColor kClPurple{128, 0, 128};
inline const QColor kClBlue{0, 0, 255};
inline const QColor kClWindowText{0, 0, 0};
inline const QColor kClBtnFace{212, 208, 200};
inline const QColor kClBtnHighlight{255, 255, 255};
inline const QColor kClBtnShadow{128, 128, 128};

}  // namespace forms
