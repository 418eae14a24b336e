#include "db_grid_parts.h"

#include <algorithm>

#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

#include "db_grid.h"
#include "font.h"
#include "engine/query.h"

namespace forms {

CurrentRecordKeeper::CurrentRecordKeeper(engine::Query* query)
    : query_(query), saved_(query ? query->recNo() : -1) {}

CurrentRecordKeeper::~CurrentRecordKeeper() {
    if (!query_ || !query_->active() || saved_ < 0) return;
    const int count = query_->recordCount();
    if (count == 0) return;
    if (saved_ < count) {
        query_->moveTo(saved_);
    } else {  // after the last record
        query_->moveTo(count - 1);
        query_->next();
    }
}

void CurrentRecordKeeper::moveTo(int row) {
    if (query_ && query_->recNo() != row) query_->moveTo(row);
}

GridModel::GridModel(DBGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_->columnCount();
}

static Qt::Alignment toQt(Alignment alignment) {
    switch (alignment) {
        case Alignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
        case Alignment::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
        case Alignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= grid_->columnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromStdString(grid_->cellText(index.row(), index.column()));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(toQt(grid_->column(index.column()).alignment()));
        default:
            return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical || section < 0 || section >= grid_->columnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(grid_->column(section).titleCaption());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(toQt(grid_->column(section).titleAlignment()));
        default:
            return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (grid_->options().testFlag(GridOption::dgEditing) && grid_->isRecordRow(index.row())) f |= Qt::ItemIsEditable;
    return f;
}

// The data set is never live: nothing is written back.
bool GridModel::setData(const QModelIndex&, const QVariant&, int) { return false; }

void GridModel::reload() {
    beginResetModel();
    // A closed or empty data set still shows one empty line.
    rows_ = std::max(1, grid_->recordCount());
    endResetModel();
}

GridCellDelegate::GridCellDelegate(DBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    grid_->paintCell(painter, option.rect, index.row(), index.column());
}

QWidget* GridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setReadOnly(true);
    editor->setFrame(false);
    editor->setFont(grid_->font());
    editor->setAlignment(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>());
    return editor;
}

void GridCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setText(index.data(Qt::EditRole).toString());
}

void GridCellDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

namespace {

// A fixed cell (title or indicator): the button face with a raised edge, light above
// and left, shadow below and right, as the system draws its buttons.
void paintFixedCell(QPainter* painter, const QRect& rect) {
    painter->fillRect(rect, kClBtnFace);
    painter->setPen(kClBtnHighlight);
    painter->drawLine(rect.topLeft(), rect.topRight());
    painter->drawLine(rect.topLeft(), rect.bottomLeft());
    painter->setPen(kClBtnShadow);
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->drawLine(rect.topRight(), rect.bottomRight());
}

// The button face also behind the sections, where the style fills the rest of a header.
void useButtonFace(QHeaderView* header) {
    QPalette palette = header->palette();
    palette.setColor(QPalette::Button, kClBtnFace);
    palette.setColor(QPalette::Window, kClBtnFace);
    header->setPalette(palette);
}

}  // namespace

GridTitles::GridTitles(DBGrid* grid) : QHeaderView(Qt::Horizontal, grid) { useButtonFace(this); }

void GridTitles::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    paintFixedCell(painter, rect);
    const QAbstractItemModel* titles = model();
    const QString text = titles->headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString();
    const auto alignment = titles->headerData(logicalIndex, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
    painter->setClipRect(rect);
    painter->setFont(font());
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(rect.adjusted(2, 0, -2, 0), alignment.toInt(), text);
    painter->restore();
}

GridIndicator::GridIndicator(DBGrid* grid) : QHeaderView(Qt::Vertical, grid), grid_(grid) {
    setFixedWidth(width);
    setSectionsClickable(false);
    setHighlightSections(false);
    useButtonFace(this);
}

void GridIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    paintFixedCell(painter, rect);
    painter->restore();
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid() || current.row() != logicalIndex || !grid_->isRecordRow(logicalIndex)) return;
    // A small solid triangle pointing at the current record.
    const QPointF c = QRectF(rect).center();
    QPainterPath arrow;
    arrow.moveTo(c.x() - 2, c.y() - 4);
    arrow.lineTo(c.x() + 2, c.y());
    arrow.lineTo(c.x() - 2, c.y() + 4);
    arrow.closeSubpath();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillPath(arrow, palette().color(QPalette::WindowText));
    painter->restore();
}

}  // namespace forms
