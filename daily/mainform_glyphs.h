// The pictures on the main forms' buttons, drawn at start-up. Each holds two images
// side by side, the normal one and a greyed one for the disabled button; the
// bottom-left pixel carries the transparent colour.
#pragma once

#include <QPixmap>

namespace mainform {

QPixmap printerGlyph();    // 40 x 20: a printer
QPixmap openDoorGlyph();   // 40 x 20: an open door
QPixmap documentsGlyph();  // 40 x 20: two documents with arrows between them
QPixmap checkMarkGlyph();  // 32 x 16: a red check mark

}  // namespace mainform
