#include "grid_column.h"

#include <QFontMetrics>

#include "db_grid.h"
#include "font.h"

namespace forms {

Column::Column(DBGrid* grid, int index, Field* field) : grid_(grid), index_(index), field_(field) {
    if (field_) field_->addReleaseListener(this, [this] { field_ = nullptr; });
}

Column::~Column() {
    if (field_) field_->removeReleaseListener(this);
}

std::string Column::titleCaption() const {
    if (titleCaption_) return *titleCaption_;
    return field_ ? field_->displayLabel() : std::string();
}

void Column::setTitleCaption(const std::string& caption) {
    titleCaption_ = caption;
    grid_->columnChanged(index_);
}

void Column::setTitleAlignment(Alignment alignment) {
    titleAlignment_ = alignment;
    grid_->columnChanged(index_);
}

Alignment Column::alignment() const { return field_ ? field_->alignment() : Alignment::Left; }

std::string Column::displayText() const { return field_ ? field_->displayText() : std::string(); }

int Column::width() const { return storedWidth_ ? *storedWidth_ : defaultWidth(); }

void Column::setWidth(int pixels) {
    storedWidth_ = pixels < 0 ? 0 : pixels;
    grid_->columnChanged(index_);
}

int Column::defaultWidth() const {
    constexpr int padding = 4;
    const int chars = field_ ? field_->displayWidth() : 0;
    int width = chars * designDigitWidth(grid_->font()) + padding;
    if (grid_->options().testFlag(GridOption::dgTitles)) {
        const int title = QFontMetrics(grid_->titleFont()).horizontalAdvance(QString::fromStdString(titleCaption())) + padding;
        if (width < title) width = title;
    }
    return width;
}

}  // namespace forms
