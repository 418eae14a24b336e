// One column of a data-aware grid: the field it shows, its title and its width.
#pragma once

#include <optional>
#include <string>

#include "fields.h"

namespace forms {

class DBGrid;

class Column {
public:
    // The column lets go of its field when the field is destroyed before it.
    Column(DBGrid* grid, int index, Field* field);
    ~Column();
    Column(const Column&) = delete;
    Column& operator=(const Column&) = delete;

    DBGrid* grid() const { return grid_; }
    int index() const { return index_; }  // among the grid's columns, 0 for the first
    Field* field() const { return field_; }

    // The title: the field's display label unless a caption was set.
    std::string titleCaption() const;
    void setTitleCaption(const std::string& caption);
    Alignment titleAlignment() const { return titleAlignment_; }
    void setTitleAlignment(Alignment alignment);

    // Values take the alignment of their field.
    Alignment alignment() const;
    // The field's display text for the data set's current record.
    std::string displayText() const;

    // Width in pixels: the stored width, or by default the field's display width
    // times the width of "0" in the grid's font plus 4, at least the title's width
    // in the title font plus 4.
    int width() const;
    void setWidth(int pixels);
    bool hasStoredWidth() const { return storedWidth_.has_value(); }
    int defaultWidth() const;

private:
    friend class DBGrid;
    void takeWidthFromUser(int pixels) { storedWidth_ = pixels; }

    DBGrid* grid_;
    int index_;
    Field* field_;
    std::optional<std::string> titleCaption_;
    Alignment titleAlignment_ = Alignment::Left;
    std::optional<int> storedWidth_;
};

}  // namespace forms
