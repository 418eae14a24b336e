// The data-aware grid: shows the rows of its data source's query, one line per
// record, through a list of columns bound to persistent fields. It only displays:
// nothing typed into it changes the data.
//
// Every data cell is drawn by the grid first (window colour, display text in the
// column's alignment, highlight colours on the selected cell while the grid has the
// focus) and then handed to the onDrawColumnCell handler, which may change the
// canvas and call defaultDrawColumnCell() to draw the cell again. While a row is
// painted it is the current record of the query, so the handler can read any field
// of that row; the real current record is restored after painting. The title row and
// the indicator column stand on the button face, the cells on the window colour.
#pragma once

#include <QFlags>
#include <QFont>
#include <QPointer>
#include <QTableView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data_source.h"
#include "grid_canvas.h"
#include "grid_column.h"

namespace engine { class Query; }

namespace forms {

enum class GridOption {
    dgEditing = 0x001,
    dgAlwaysShowEditor = 0x002,
    dgTitles = 0x004,
    dgIndicator = 0x008,
    dgColumnResize = 0x010,
    dgColLines = 0x020,
    dgRowLines = 0x040,
    dgTabs = 0x080,
    dgConfirmDelete = 0x100,
    dgCancelOnExit = 0x200,
};
Q_DECLARE_FLAGS(GridOptions, GridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridOptions)

enum class DrawCellStateFlag { Selected = 0x1, Focused = 0x2, Fixed = 0x4 };
Q_DECLARE_FLAGS(DrawCellState, DrawCellStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(DrawCellState)

class GridModel;
class GridCellDelegate;
class GridIndicator;

class DBGrid : public QTableView {
    Q_OBJECT
public:
    // sender, cell rectangle, column index, column, drawing state
    using DrawColumnCellHandler =
        std::function<void(DBGrid& sender, const QRect& rect, int dataCol, Column& column, DrawCellState state)>;

    explicit DBGrid(const std::string& name, QWidget* parent = nullptr);
    ~DBGrid() override;

    std::string name() const { return objectName().toStdString(); }

    DataSource* dataSource() const { return dataSource_; }
    void setDataSource(DataSource* source);
    engine::Query* dataSet() const;

    // The grid's font is the widget font (cells); titles have their own.
    const QFont& titleFont() const { return titleFont_; }
    void setTitleFont(const QFont& font);

    // Default: dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
    // dgTabs, dgConfirmDelete, dgCancelOnExit.
    GridOptions options() const { return options_; }
    void setOptions(GridOptions options);

    // The input method the grid asks for while it has the focus.
    const std::string& imeName() const { return imeName_; }
    void setImeName(const std::string& name) { imeName_ = name; }

    // Columns in display order; the grid owns them.
    Column& addColumn(Field* field);
    int columnCount() const { return static_cast<int>(columns_.size()); }
    Column& column(int index) { return *columns_.at(index); }
    const Column& column(int index) const { return *columns_.at(index); }

    void setOnDrawColumnCell(DrawColumnCellHandler handler) { onDrawColumnCell_ = std::move(handler); }

    // The canvas of the cell being painted; drawing through it outside a paint does nothing.
    Canvas& canvas() { return canvas_; }
    // Fills the rectangle with the canvas brush and writes the column's display text
    // for the current record in the column's alignment with the canvas font.
    void defaultDrawColumnCell(const QRect& rect, int dataCol, Column& column, DrawCellState state);

    // Rows that hold records (0 while the query is closed); the grid still shows one
    // empty line then.
    int recordCount() const;
    // Display text of a data cell, read with the row made current for the moment.
    std::string cellText(int row, int col) const;
    // Pixel rectangle of a data cell in the viewport (grid lines excluded).
    QRect cellRect(int row, int col) const;

    // Called by a column when its title or width changed.
    void columnChanged(int index);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    friend class GridModel;
    friend class GridCellDelegate;
    friend class GridIndicator;

    void refresh();
    void applyOptions();
    void layoutColumns();
    void layoutRows();
    bool isRecordRow(int row) const;
    void paintCell(QPainter* painter, const QRect& cell, int row, int col);
    void paintFocusRect(QPainter* painter, const QRect& rect);
    void paintGridLines(QPainter* painter, const QRect& cell);
    void showEditorIfAlways();

    QPointer<DataSource> dataSource_;
    QFont titleFont_;
    GridOptions options_;
    std::string imeName_;
    std::vector<std::unique_ptr<Column>> columns_;
    DrawColumnCellHandler onDrawColumnCell_;
    Canvas canvas_;
    GridModel* model_;
    GridCellDelegate* delegate_;
    GridIndicator* indicator_;
    bool layingOut_ = false;
    bool hadFocus_ = false;
};

}  // namespace forms
