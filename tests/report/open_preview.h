// A report of numbered detail lines with its preview window open and every page produced.
#pragma once

#include <memory>

#include "report/preview_window.h"
#include "report/report.h"
#include "table_data_set.h"

struct OpenPreview {
    // 3 lines make one page; 120 lines of 17 units make three.
    explicit OpenPreview(int lines = 3) {
        rep.setDataSet(std::make_shared<TableDataSet>(numberedRows(lines)));
        rep.addBand("Detail", report::BandKind::Detail)->setSize(718, 17);
        preview.produceAll();
    }
    report::Report rep{"rep"};
    report::PreviewWindow preview{rep};
};
