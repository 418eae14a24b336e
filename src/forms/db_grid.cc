#include "db_grid.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include "db_grid_parts.h"
#include "engine/query.h"

namespace forms {

namespace {
const QColor gridLineColor(192, 192, 192);
}  // namespace

DBGrid::DBGrid(const std::string& name, QWidget* parent)
    : QTableView(parent),
      titleFont_(font()),
      options_(GridOption::dgEditing | GridOption::dgTitles | GridOption::dgIndicator | GridOption::dgColumnResize |
               GridOption::dgColLines | GridOption::dgRowLines | GridOption::dgTabs | GridOption::dgConfirmDelete |
               GridOption::dgCancelOnExit),
      model_(new GridModel(this)),
      delegate_(new GridCellDelegate(this)),
      indicator_(new GridIndicator(this)) {
    setObjectName(QString::fromStdString(name));
    setHorizontalHeader(new GridTitles(this));
    setVerticalHeader(indicator_);
    setModel(model_);
    setItemDelegate(delegate_);
    setShowGrid(false);  // the cells draw the lines the options ask for
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::StrongFocus);

    QHeaderView* titles = horizontalHeader();
    titles->setMinimumSectionSize(0);
    titles->setStretchLastSection(false);
    titles->setHighlightSections(false);
    titles->setSectionsClickable(false);
    titles->setFont(titleFont_);
    connect(titles, &QHeaderView::sectionResized, this, [this](int logical, int, int newSize) {
        if (!layingOut_ && logical >= 0 && logical < columnCount()) columns_[logical]->takeWidthFromUser(newSize);
    });
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    applyOptions();
    layoutRows();
}

DBGrid::~DBGrid() = default;

void DBGrid::setDataSource(DataSource* source) {
    if (dataSource_ == source) return;
    if (dataSource_) disconnect(dataSource_, nullptr, this, nullptr);
    dataSource_ = source;
    if (dataSource_) connect(dataSource_, &DataSource::dataChanged, this, &DBGrid::refresh);
    refresh();
}

engine::Query* DBGrid::dataSet() const { return dataSource_ ? dataSource_->dataSet() : nullptr; }

void DBGrid::setTitleFont(const QFont& font) {
    titleFont_ = font;
    horizontalHeader()->setFont(titleFont_);
    layoutColumns();
}

void DBGrid::setOptions(GridOptions options) {
    options_ = options;
    applyOptions();
}

Column& DBGrid::addColumn(Field* field) {
    columns_.push_back(std::make_unique<Column>(this, columnCount(), field));
    refresh();
    return *columns_.back();
}

void DBGrid::columnChanged(int index) {
    model_->headerDataChanged(Qt::Horizontal, index, index);
    layoutColumns();
}

int DBGrid::recordCount() const {
    const engine::Query* query = dataSet();
    return query && query->active() ? query->recordCount() : 0;
}

bool DBGrid::isRecordRow(int row) const { return row >= 0 && row < recordCount(); }

std::string DBGrid::cellText(int row, int col) const {
    if (!isRecordRow(row) || col < 0 || col >= columnCount()) return {};
    CurrentRecordKeeper keeper(dataSet());
    keeper.moveTo(row);
    return columns_[col]->displayText();
}

QRect DBGrid::cellRect(int row, int col) const {
    QRect rect = visualRect(model_->index(row, col));
    if (options_.testFlag(GridOption::dgColLines)) rect.setRight(rect.right() - 1);
    if (options_.testFlag(GridOption::dgRowLines)) rect.setBottom(rect.bottom() - 1);
    return rect;
}

void DBGrid::refresh() {
    const int col = currentIndex().isValid() ? currentIndex().column() : 0;
    layingOut_ = true;
    model_->reload();
    layingOut_ = false;
    layoutColumns();
    const engine::Query* query = dataSet();
    if (isRecordRow(0) && col < columnCount()) {
        const int row = std::clamp(query->recNo(), 0, recordCount() - 1);
        const QModelIndex current = model_->index(row, col);
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
        scrollTo(current);
    }
    viewport()->update();
    indicator_->viewport()->update();
}

void DBGrid::applyOptions() {
    horizontalHeader()->setVisible(options_.testFlag(GridOption::dgTitles));
    verticalHeader()->setVisible(options_.testFlag(GridOption::dgIndicator));
    horizontalHeader()->setSectionResizeMode(options_.testFlag(GridOption::dgColumnResize) ? QHeaderView::Interactive
                                                                                           : QHeaderView::Fixed);
    setTabKeyNavigation(options_.testFlag(GridOption::dgTabs));
    layoutColumns();
    layoutRows();
    viewport()->update();
}

void DBGrid::layoutColumns() {
    layingOut_ = true;
    for (const auto& column : columns_) horizontalHeader()->resizeSection(column->index(), column->width());
    layingOut_ = false;
}

void DBGrid::layoutRows() {
    const int lines = options_.testFlag(GridOption::dgRowLines) ? 1 : 0;
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 3 + lines);
}

void DBGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        layoutRows();
        layoutColumns();
    }
}

void DBGrid::paintEvent(QPaintEvent* event) {
    // Painting makes each row current in turn; the real current record comes back after.
    CurrentRecordKeeper keeper(dataSet());
    QTableView::paintEvent(event);
}

void DBGrid::paintCell(QPainter* painter, const QRect& cell, int row, int col) {
    QRect rect = cell;
    if (options_.testFlag(GridOption::dgColLines)) rect.setRight(rect.right() - 1);
    if (options_.testFlag(GridOption::dgRowLines)) rect.setBottom(rect.bottom() - 1);

    // Fresh brush and font for every cell, so nothing a handler set carries over.
    canvas_.setPainter(painter);
    canvas_.setFont(font());
    canvas_.setFontColor(palette().color(QPalette::Text));
    canvas_.setBrushColor(palette().color(QPalette::Base));

    if (!isRecordRow(row) || col < 0 || col >= columnCount()) {
        canvas_.fillRect(rect);
    } else {
        CurrentRecordKeeper keeper(dataSet());
        keeper.moveTo(row);
        const QModelIndex current = currentIndex();
        const bool selected = current.row() == row && current.column() == col;
        const bool focused = selected && hasFocus();
        DrawCellState state;
        if (selected) state |= DrawCellStateFlag::Selected;
        if (focused) {
            state |= DrawCellStateFlag::Focused;
            canvas_.setBrushColor(palette().color(QPalette::Highlight));
            canvas_.setFontColor(palette().color(QPalette::HighlightedText));
        }
        Column& column = *columns_[col];
        defaultDrawColumnCell(rect, col, column, state);
        if (onDrawColumnCell_) onDrawColumnCell_(*this, rect, col, column, state);
        if (focused) paintFocusRect(painter, rect);
    }
    canvas_.setPainter(nullptr);
    paintGridLines(painter, cell);
}

void DBGrid::paintFocusRect(QPainter* painter, const QRect& rect) {
    // A dotted frame just inside the cell, in the colour of the cell's text.
    painter->save();
    painter->setPen(QPen(canvas_.fontColor(), 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

void DBGrid::paintGridLines(QPainter* painter, const QRect& cell) {
    painter->save();
    painter->setPen(gridLineColor);
    if (options_.testFlag(GridOption::dgColLines)) painter->drawLine(cell.topRight(), cell.bottomRight());
    if (options_.testFlag(GridOption::dgRowLines)) painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->restore();
}

void DBGrid::defaultDrawColumnCell(const QRect& rect, int, Column& column, DrawCellState) {
    canvas_.textRect(rect, column.displayText(), column.alignment());
}

void DBGrid::keyboardSearch(const QString&) {
    // Typed characters neither search nor edit: the grid only displays.
}

void DBGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    hadFocus_ = true;
    showEditorIfAlways();
    viewport()->update();
}

void DBGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // The data set follows the grid's current line.
    if (engine::Query* query = dataSet(); query && current.isValid() && isRecordRow(current.row()))
        query->moveTo(current.row());
    indicator_->viewport()->update();
    showEditorIfAlways();
}

void DBGrid::showEditorIfAlways() {
    const bool always = options_.testFlag(GridOption::dgEditing) && options_.testFlag(GridOption::dgAlwaysShowEditor);
    const QModelIndex current = currentIndex();
    if (!always || !hadFocus_ || !current.isValid() || !isRecordRow(current.row())) return;
    // The editor takes the focus as it opens: only while the grid has it, so that a
    // change of the current cell by code does not take the focus from another control.
    const QWidget* focus = QApplication::focusWidget();
    if (focus != this && !isAncestorOf(focus)) return;
    if (state() == QAbstractItemView::EditingState) return;
    edit(current);
}

}  // namespace forms
