// Files of a produced report: the report file the preview saves and loads back, and PDF.
#pragma once

#include <QString>
#include <optional>

#include "layout.h"

namespace report {

// Writes the produced pages to a report file; on failure false and the reason in *error.
bool saveReportFile(const ProducedReport& report, const QString& path, QString* error);
// Reads a report file written by saveReportFile; nothing and the reason in *error if it
// cannot be read or is no report file.
std::optional<ProducedReport> loadReportFile(const QString& path, QString* error);

// Writes the pages as a PDF file of A4 sheets; false if the file cannot be written.
bool writePdf(const ProducedReport& report, const QString& path);

}  // namespace report
