// What the grid paints: roll-up rows bold on aqua in every visible cell, the rows
// after them plain, the selected cell highlighted only while the grid has the focus.
#include <QHeaderView>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <map>

#include "summary_grid_fixture.h"

namespace {

const QColor aqua(0, 255, 255);

struct CellSeen {
    int row;
    int col;
    std::string code;  // the code field as the handler read it
    QColor brush;
    bool bold;
    int pointSize;
    forms::DrawCellState state;
};

}  // namespace

class GridDrawingTest : public SummaryGridTest {
protected:
    QImage paint() {
        QApplication::processEvents();
        return dbGrid1.grab().toImage();
    }
    QPoint inGrid(const QPoint& viewportPoint) { return dbGrid1.viewport()->mapTo(&dbGrid1, viewportPoint); }
    // The colour of a cell just inside its top-left corner, clear of its text.
    QColor fillOf(const QImage& image, int row, int col) {
        return image.pixelColor(inGrid(dbGrid1.cellRect(row, col).topLeft() + QPoint(1, 1)));
    }
    // Pixels of the cell that differ from its fill: the ink of its text.
    int inkOf(const QImage& image, int row, int col) {
        const QRect r = dbGrid1.cellRect(row, col);
        const QColor fill = fillOf(image, row, col);
        int ink = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (image.pixelColor(inGrid(QPoint(x, y))) != fill) ++ink;
        return ink;
    }
    std::vector<CellSeen> recordHandlerCalls() {
        std::vector<CellSeen> seen;
        extraHandler = [&seen, this](forms::DBGrid& grid, const QRect& rect, int dataCol, forms::Column&,
                                     forms::DrawCellState state) {
            const QModelIndex at = grid.indexAt(rect.center());
            seen.push_back({at.row(), dataCol, acCode.asString(), grid.canvas().brushColor(),
                            grid.canvas().font().bold(), grid.canvas().fontSize(), state});
        };
        paint();
        extraHandler = nullptr;
        return seen;
    }
};

TEST_F(GridDrawingTest, RollUpRowsAreAquaInEveryVisibleCellAndTheNextRowsPlain) {
    const std::vector<std::string> codes = {"10100000000", "20201015000", "10909000000", "20201022000",
                                            "50805000000", "50806000000", "10101001000", "50909000000",
                                            "20201015000"};
    std::vector<SummaryRow> rows;
    for (const auto& c : codes) rows.push_back(rowWithCode(c));
    insertRows(rows);
    query1.open();
    showAndSettle();

    const QImage image = paint();
    const QColor window = dbGrid1.palette().color(QPalette::Base);
    for (int row = 0; row < static_cast<int>(codes.size()); ++row) {
        const bool rollUp = mainform::isRollUpCode(codes[row]);
        for (int col = CR00; col <= DR00; ++col)
            EXPECT_EQ(fillOf(image, row, col), rollUp ? aqua : window) << codes[row] << " column " << col;
    }
    // Same text, heavier strokes: the roll-up line is bold, the account line after it is not.
    EXPECT_GT(inkOf(image, 0, CR00), inkOf(image, 1, CR00) * 11 / 10);
    EXPECT_EQ(inkOf(image, 1, CR00), inkOf(image, 3, CR00));
    EXPECT_EQ(inkOf(image, 0, AC_NAME), inkOf(image, 2, AC_NAME));
}

TEST_F(GridDrawingTest, EveryCellStartsFromThePlainCanvasAndSeesItsOwnRow) {
    const std::vector<std::string> codes = {"10100000000", "20201015000", "50909000000", "20201022000"};
    std::vector<SummaryRow> rows;
    for (const auto& c : codes) rows.push_back(rowWithCode(c));
    insertRows(rows);
    query1.open();
    showAndSettle();

    const std::vector<CellSeen> seen = recordHandlerCalls();
    std::map<int, int> cellsPerRow;
    const QColor window = dbGrid1.palette().color(QPalette::Base);
    for (const CellSeen& s : seen) {
        ASSERT_GE(s.row, 0);
        ++cellsPerRow[s.row];
        EXPECT_EQ(s.code, codes[s.row]) << "row " << s.row << " column " << s.col;
        // The grid is not focused: no cell is highlighted, nothing left over from the cell before.
        EXPECT_EQ(s.brush, window) << "row " << s.row << " column " << s.col;
        EXPECT_FALSE(s.bold) << "row " << s.row << " column " << s.col;
        EXPECT_EQ(s.pointSize, dbGrid1.font().pointSize());
    }
    EXPECT_EQ(cellsPerRow.size(), codes.size());
    for (const auto& [row, cells] : cellsPerRow) EXPECT_GE(cells, 7) << "row " << row;
}

TEST_F(GridDrawingTest, PaintingPutsTheQueryBackOnItsCurrentRecord) {
    insertRows({rowWithCode("10100000000"), rowWithCode("20201015000"), rowWithCode("20201022000")});
    query1.open();
    showAndSettle();
    dbGrid1.setCurrentIndex(dbGrid1.model()->index(1, CR00));
    EXPECT_EQ(query1.recNo(), 1);
    paint();
    EXPECT_EQ(query1.recNo(), 1);
    EXPECT_EQ(acCode.asString(), "20201015000");
    // Also from the position after the last record.
    query1.moveTo(2);
    query1.next();
    ASSERT_TRUE(query1.eof());
    paint();
    EXPECT_TRUE(query1.eof());
}

TEST_F(GridDrawingTest, OddCodesDrawPlainWithoutFailing) {
    insertRows({rowWithCode(""), rowWithCode("101"), rowWithCode("10100ABCDEF"), rowWithCode("10100      "),
                rowWithCode("10100000000")});
    query1.open();
    showAndSettle();
    const QImage image = paint();
    const QColor window = dbGrid1.palette().color(QPalette::Base);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(fillOf(image, row, CR00), window) << "row " << row;
    EXPECT_EQ(fillOf(image, 4, CR00), aqua);
}

TEST_F(GridDrawingTest, NoCellHandlerWhileTheQueryIsClosed) {
    insertRows({rowWithCode("10100000000")});
    showAndSettle();
    EXPECT_TRUE(recordHandlerCalls().empty());
    EXPECT_EQ(dbGrid1.model()->rowCount(), 1);  // the one empty line
    query1.open();
    EXPECT_FALSE(recordHandlerCalls().empty());
    query1.close();
    EXPECT_TRUE(recordHandlerCalls().empty());
}

TEST_F(GridDrawingTest, SelectedCellHighlightedOnlyWhileTheGridHasFocus) {
    insertRows({rowWithCode("20201015000"), rowWithCode("10100000000")});
    query1.open();
    showAndSettle();
    const QColor window = dbGrid1.palette().color(QPalette::Base);
    const QColor highlight = dbGrid1.palette().color(QPalette::Highlight);
    dbGrid1.setCurrentIndex(dbGrid1.model()->index(0, CR01));
    dbGrid1.clearFocus();
    ASSERT_FALSE(dbGrid1.hasFocus());
    EXPECT_EQ(fillOf(paint(), 0, CR01), window);

    dbGrid1.activateWindow();
    dbGrid1.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dbGrid1.hasFocus(); }));
    QImage image = paint();
    EXPECT_EQ(fillOf(image, 0, CR01), highlight);
    EXPECT_EQ(fillOf(image, 0, CR00), window);

    // On a roll-up line the clicked cell is aqua too, in the highlight text colour;
    // the handler saw the highlight state and colours first.
    dbGrid1.setCurrentIndex(dbGrid1.model()->index(1, CR01));
    const std::vector<CellSeen> seen = recordHandlerCalls();
    bool sawFocused = false;
    for (const CellSeen& s : seen) {
        if (s.row == 1 && s.col == CR01) {
            sawFocused = true;
            EXPECT_TRUE(s.state.testFlag(forms::DrawCellStateFlag::Selected));
            EXPECT_TRUE(s.state.testFlag(forms::DrawCellStateFlag::Focused));
            EXPECT_EQ(s.brush, highlight);
        } else {
            EXPECT_FALSE(s.state.testFlag(forms::DrawCellStateFlag::Focused));
        }
    }
    EXPECT_TRUE(sawFocused);
    image = paint();
    EXPECT_EQ(fillOf(image, 1, CR00), aqua);
    EXPECT_EQ(fillOf(image, 0, CR01), window);
}

TEST_F(GridDrawingTest, IndicatorMarksTheCurrentRecordOnly) {
    insertRows({rowWithCode("10100000000"), rowWithCode("20201015000"), rowWithCode("20201022000")});
    query1.open();
    showAndSettle();
    dbGrid1.setCurrentIndex(dbGrid1.model()->index(1, CR00));
    QHeaderView* indicator = dbGrid1.verticalHeader();
    ASSERT_TRUE(indicator->isVisible());
    QApplication::processEvents();
    const QImage image = indicator->grab().toImage();
    const QColor mark = dbGrid1.palette().color(QPalette::WindowText);
    auto marked = [&](int row) {
        const int top = indicator->sectionViewportPosition(row);
        for (int y = top; y < top + indicator->sectionSize(row); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == mark) return true;
        return false;
    };
    EXPECT_FALSE(marked(0));
    EXPECT_TRUE(marked(1));
    EXPECT_FALSE(marked(2));
}
