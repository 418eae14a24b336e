// The pieces a DBGrid is assembled from: the table model over its columns and data
// set, the delegate that routes cell painting through the grid, the title row, the
// indicator column and the helper that makes a row current for a moment. Internal to
// the grid.
#pragma once

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStyledItemDelegate>

namespace engine { class Query; }

namespace forms {

class DBGrid;

// Makes rows of the query current one after another and puts the query back on the
// record that was current before, the position after the last record included.
class CurrentRecordKeeper {
public:
    explicit CurrentRecordKeeper(engine::Query* query);
    ~CurrentRecordKeeper();
    CurrentRecordKeeper(const CurrentRecordKeeper&) = delete;
    CurrentRecordKeeper& operator=(const CurrentRecordKeeper&) = delete;
    void moveTo(int row);

private:
    engine::Query* query_;
    int saved_;
};

class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(DBGrid* grid);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // Takes the data set's rows as they are now; until the next reload the model keeps
    // that row count, whatever happens to the data set meanwhile.
    void reload();

private:
    DBGrid* grid_;
    int rows_ = 1;
};

class GridCellDelegate : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(DBGrid* grid);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The editor of a grid with editing on: it shows the value and accepts no change.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    DBGrid* grid_;
};

// The title row: each column's title on the button face, in the title font.
class GridTitles : public QHeaderView {
public:
    explicit GridTitles(DBGrid* grid);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// The fixed column left of the data that marks the current record with a triangle.
class GridIndicator : public QHeaderView {
public:
    explicit GridIndicator(DBGrid* grid);
    static constexpr int width = 11;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    DBGrid* grid_;
};

}  // namespace forms
