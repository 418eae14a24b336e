// Sending produced pages to a printer.
#pragma once

#include "layout.h"

class QPrinter;

namespace report {

// Prints the pages on the printer's whole sheet, with its page range and number of copies;
// shows the "Printing progress" window meanwhile if asked to. False when the printer
// cannot be written to.
bool printProduced(const ProducedReport& report, QPrinter& printer, bool showProgress);

}  // namespace report
