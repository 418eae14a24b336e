// The grid's set-up and behaviour: column widths, the hidden code column, following
// the query through the data source, display texts, and that nothing typed changes data.
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "summary_grid_fixture.h"

class GridBehaviourTest : public SummaryGridTest {
protected:
    void focusGrid() {
        showAndSettle();
        dbGrid1.activateWindow();
        dbGrid1.setFocus();
        // The grid itself, or its cell editor, has the focus.
        ASSERT_TRUE(QTest::qWaitFor([&] { return dbGrid1.hasFocus() || dbGrid1.isAncestorOf(QApplication::focusWidget()); }));
    }
    std::vector<std::string> columnTexts(int col) {
        std::vector<std::string> texts;
        for (int row = 0; row < dbGrid1.recordCount(); ++row) texts.push_back(dbGrid1.cellText(row, col));
        return texts;
    }
};

TEST_F(GridBehaviourTest, AmountsShowThousandsSeparatedAndZeroOrNullEmpty) {
    insertRows({{"10100000000", 1234567, 0, std::nullopt, "유동자산", -1234, 999.5, 1e9}});
    query1.open();
    EXPECT_EQ(dbGrid1.cellText(0, CR00), "1,234,567");
    EXPECT_EQ(dbGrid1.cellText(0, CR01), "");
    EXPECT_EQ(dbGrid1.cellText(0, CR01_CASH), "");
    EXPECT_EQ(dbGrid1.cellText(0, AC_NAME), "유동자산");
    EXPECT_EQ(dbGrid1.cellText(0, DR01_CASH), "-1,234");
    EXPECT_EQ(dbGrid1.cellText(0, DR01), "1,000");
    EXPECT_EQ(dbGrid1.cellText(0, DR00), "1,000,000,000");
    EXPECT_EQ(dbGrid1.model()->data(dbGrid1.model()->index(0, CR00), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(dbGrid1.model()->data(dbGrid1.model()->index(0, AC_NAME), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

TEST_F(GridBehaviourTest, TitlesAreTheFieldLabelsCentred) {
    const QAbstractItemModel* m = dbGrid1.model();
    EXPECT_EQ(m->headerData(CR00, Qt::Horizontal).toString(), QString("차변 전체 합계"));
    EXPECT_EQ(m->headerData(AC_NAME, Qt::Horizontal).toString(), QString("계     정     과     목"));
    EXPECT_EQ(m->headerData(DR00, Qt::Horizontal).toString(), QString("대변 전체 합계"));
    EXPECT_EQ(m->headerData(AC_CODE, Qt::Horizontal).toString(), QString("AC_CODE"));
    EXPECT_EQ(m->headerData(CR01, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

TEST_F(GridBehaviourTest, ColumnWidthsFixedOrByDisplayWidth) {
    dbGrid1.setFont(QFont(dbGrid1.font().family(), 9));
    dbGrid1.setTitleFont(QFont(dbGrid1.font().family(), 10));
    const int zero = QFontMetrics(dbGrid1.font()).horizontalAdvance('0');
    EXPECT_EQ(dbGrid1.columnWidth(CR00), 110);
    EXPECT_EQ(dbGrid1.columnWidth(DR00), 110);
    EXPECT_EQ(dbGrid1.columnWidth(AC_NAME), 40 * zero + 4);

    // A font change recomputes widths by display width.
    dbGrid1.setFont(QFont(dbGrid1.font().family(), 14));
    const int bigZero = QFontMetrics(dbGrid1.font()).horizontalAdvance('0');
    EXPECT_EQ(dbGrid1.columnWidth(AC_NAME), 40 * bigZero + 4);
    EXPECT_EQ(dbGrid1.columnWidth(CR00), 110);
    EXPECT_EQ(dbGrid1.columnWidth(AC_CODE), 0);
}

TEST(GridColumnWidth, NeverNarrowerThanItsTitle) {
    engine::Query query;
    forms::FloatField amount("Query1CR01", "CR01", &query);
    forms::DBGrid grid("DBGrid1");
    grid.setTitleFont(QFont(grid.font().family(), 10));
    amount.setDisplayWidth(15);
    forms::Column& column = grid.addColumn(&amount);
    const int zero = QFontMetrics(grid.font()).horizontalAdvance('0');
    EXPECT_EQ(column.width(), 15 * zero + 4);
    EXPECT_EQ(grid.columnWidth(0), column.width());

    amount.setDisplayWidth(1);
    column.setTitleCaption("차변 대체 합계");
    const int title = QFontMetrics(grid.titleFont()).horizontalAdvance(QString("차변 대체 합계")) + 4;
    EXPECT_EQ(column.width(), title);
    EXPECT_EQ(grid.columnWidth(0), title);
}

TEST_F(GridBehaviourTest, CodeColumnNeverShowsButTakesTheSelection) {
    insertRows({rowWithCode("10100000000"), rowWithCode("20201015000")});
    query1.open();
    for (int width : {400, 952, 1600}) {
        dbGrid1.resize(width, 300);
        showAndSettle();
        EXPECT_EQ(dbGrid1.columnWidth(AC_CODE), 0);
        EXPECT_FALSE(dbGrid1.isColumnHidden(AC_CODE));
        EXPECT_EQ(dbGrid1.columnViewportPosition(CR00), 0);  // the first visible column starts at the left edge
    }
    focusGrid();
    dbGrid1.setCurrentIndex(dbGrid1.model()->index(0, CR00));
    QTest::keyClick(&dbGrid1, Qt::Key_Left);
    EXPECT_EQ(dbGrid1.currentIndex().column(), AC_CODE);
    QTest::keyClick(&dbGrid1, Qt::Key_Tab);
    EXPECT_EQ(dbGrid1.currentIndex().column(), CR00);
    QTest::keyClick(&dbGrid1, Qt::Key_Tab);
    EXPECT_EQ(dbGrid1.currentIndex().column(), CR01);
    EXPECT_TRUE(dbGrid1.hasFocus());  // Tab moves between cells, not out of the grid
}

TEST_F(GridBehaviourTest, FollowsTheQueryOpenAndClose) {
    insertRows({rowWithCode("10100000000"), rowWithCode("20201015000"), rowWithCode("20201022000")});
    EXPECT_EQ(dbGrid1.recordCount(), 0);
    EXPECT_EQ(dbGrid1.model()->rowCount(), 1);
    query1.open();
    EXPECT_EQ(dbGrid1.model()->rowCount(), 3);
    EXPECT_EQ(columnTexts(AC_NAME), (std::vector<std::string>{"현금", "현금", "현금"}));
    EXPECT_EQ(dbGrid1.currentIndex().row(), 0);
    query1.close();
    EXPECT_EQ(dbGrid1.model()->rowCount(), 1);
    EXPECT_EQ(dbGrid1.cellText(0, CR00), "");
}

TEST_F(GridBehaviourTest, WaitsWhileControlsAreDisabledThenShowsTheNewRowsFromTheFirst) {
    insertRows({rowWithCode("10100000000"), rowWithCode("20201015000"), rowWithCode("20201022000")});
    query1.open();
    showAndSettle();
    dbGrid1.setCurrentIndex(dbGrid1.model()->index(2, CR00));
    EXPECT_EQ(query1.recNo(), 2);

    // A run: controls disabled, the query closed and opened on other rows.
    query1.disableControls();
    query1.close();
    EXPECT_EQ(dbGrid1.model()->rowCount(), 3);  // not refreshed yet
    dbGrid1.grab();                              // painting meanwhile must not fail
    insertRows({{"50909000000", 5, 5, 5, "합계", 5, 5, 5}});
    query1.open();
    EXPECT_EQ(dbGrid1.model()->rowCount(), 3);
    query1.enableControls();
    EXPECT_EQ(dbGrid1.model()->rowCount(), 4);
    EXPECT_EQ(dbGrid1.currentIndex().row(), 0);
    EXPECT_EQ(dbGrid1.cellText(3, AC_NAME), "합계");
    EXPECT_EQ(dbGrid1.rowViewportPosition(0), 0);

    // A failed run: closed while disabled, re-enabled with the query still closed.
    query1.disableControls();
    query1.close();
    query1.enableControls();
    EXPECT_EQ(dbGrid1.model()->rowCount(), 1);
    EXPECT_EQ(dbGrid1.recordCount(), 0);
}

TEST_F(GridBehaviourTest, KeyPressesChangeNoData) {
    insertRows({{"10100000000", 1234567, 2, 3, "유동자산", 4, 5, 6}, rowWithCode("20201015000")});
    query1.open();
    focusGrid();
    dbGrid1.setCurrentIndex(dbGrid1.model()->index(0, CR00));
    QTest::keyClicks(&dbGrid1, "99");
    QTest::keyClick(&dbGrid1, Qt::Key_F2);
    QTest::keyClicks(&dbGrid1, "77");
    QTest::keyClick(&dbGrid1, Qt::Key_Return);
    QTest::keyClick(&dbGrid1, Qt::Key_Delete);
    QTest::keyClick(&dbGrid1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dbGrid1.currentIndex(), dbGrid1.model()->index(0, CR00));
    EXPECT_EQ(dbGrid1.recordCount(), 2);
    EXPECT_EQ(dbGrid1.cellText(0, CR00), "1,234,567");
    EXPECT_FALSE(dbGrid1.model()->setData(dbGrid1.model()->index(0, CR00), "1", Qt::EditRole));
    query1.moveTo(0);
    EXPECT_EQ(cr00.asFloat(), 1234567);
}

TEST_F(GridBehaviourTest, EditingGridShowsAnEditorThatAcceptsNoChange) {
    insertRows({{"10100000000", 1234567, 2, 3, "유동자산", 4, 5, 6}, rowWithCode("20201015000")});
    query1.open();
    dbGrid1.setOptions(dbGrid1.options() | forms::GridOption::dgEditing | forms::GridOption::dgConfirmDelete);
    dbGrid1.setCurrentIndex(dbGrid1.model()->index(0, CR00));
    focusGrid();
    auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->text(), QString("1,234,567"));
    QTest::keyClicks(line, "42");
    QTest::keyClick(line, Qt::Key_Return);
    QTest::keyClick(&dbGrid1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dbGrid1.cellText(0, CR00), "1,234,567");
    EXPECT_EQ(dbGrid1.recordCount(), 2);
    // The editor follows the current cell.
    QTest::keyClick(dbGrid1.focusWidget(), Qt::Key_Down);
    EXPECT_EQ(dbGrid1.currentIndex().row(), 1);
}

// A form declares its query after its data source, so the query goes first; the data
// source then lets it go instead of calling into it.
TEST(DataSourceLifetime, AQueryDestroyedFirstIsLetGo) {
    auto query = std::make_unique<engine::Query>("Account");
    auto source = std::make_unique<forms::DataSource>("DataSource1");
    source->setDataSet(query.get());
    query.reset();
    source->setDataSet(nullptr);
    source.reset();
    SUCCEED();
}
