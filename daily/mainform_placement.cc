#include "mainform_placement.h"

#include "forms/form.h"
#include "forms/platform.h"

namespace mainform {

void centreMainWindow(forms::Form& form) {
    if (forms::platformId() == forms::kPlatformWindows9x) {
        const QRect area = forms::workArea();
        // right - left and bottom - top as the work-area rectangle gives them
        form.setLeft(halved(area.x() + area.width() - area.x() - form.outerWidth()));
        form.setTop(halved(area.y() + area.height() - area.y() - form.outerHeight()));
    } else {
        const QSize screen = forms::screenSize();
        form.setLeft(halved(screen.width() - form.outerWidth()));
        form.setTop(halved(screen.height() - form.outerHeight()));
    }
}

}  // namespace mainform
