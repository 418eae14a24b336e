// Drawing produced pages onto any Qt paint device: preview widget, printer or PDF.
#pragma once

#include <functional>

#include "layout.h"

class QPainter;
class QPagedPaintDevice;

namespace report {

// Draws a page; the painter's coordinates must be layout units from the paper's corner.
void paintPage(QPainter& painter, const ProducedPage& page);

// Pages to print: 1-based and inclusive; 0 and 0 mean every page.
struct PageRange {
    int from = 0;
    int to = 0;
    bool contains(int page) const { return (from == 0 || page >= from) && (to == 0 || page <= to); }
};

// Draws the pages in range, copies times, onto a paged device whose page is the whole
// sheet (no device margins), one sheet per page. The callback hears each page drawn.
// False when painting on the device cannot begin (a file that cannot be written).
bool renderPages(const ProducedReport& report, QPagedPaintDevice& device, PageRange range, int copies,
                 const std::function<void(int page)>& pageDone = {});

}  // namespace report
