// The texts a band prints: fixed labels, data texts showing a field of the current row,
// and system data (date and time, page number).
#pragma once

#include <QColor>
#include <QDateTime>
#include <QString>
#include <string>

#include "forms/fields.h"
#include "text_font.h"

namespace report {

class DataSet;

// What a text may need to know when its band prints.
struct PrintContext {
    const DataSet* dataSet = nullptr;
    int pageNumber = 0;
    QDateTime moment;  // when the page is produced
};

class Text {
public:
    explicit Text(std::string name) : name_(std::move(name)) {}
    virtual ~Text() = default;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    const std::string& name() const { return name_; }

    // Position from the band's top-left corner and size, in layout units.
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setBounds(int left, int top, int width, int height);

    forms::Alignment alignment() const { return alignment_; }
    void setAlignment(forms::Alignment a) { alignment_ = a; }
    // An auto-sized text takes the width of its text, keeping its left edge (left aligned),
    // its right edge (right aligned) or its middle (centred).
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on) { autoSize_ = on; }
    // A word-wrapped text breaks into lines within its width; it never grows taller.
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on) { wordWrap_ = on; }
    // An opaque text fills its box with its colour before the text is drawn.
    bool transparent() const { return transparent_; }
    void setTransparent(bool on) { transparent_ = on; }
    QColor color() const { return color_; }
    void setColor(const QColor& c) { color_ = c; }

    const TextFont& font() const { return font_; }
    TextFont& font() { return font_; }
    void setFont(const TextFont& f) { font_ = f; }

    // What the text prints in this context.
    virtual QString textFor(const PrintContext& context) const = 0;

private:
    std::string name_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    forms::Alignment alignment_ = forms::Alignment::Left;
    bool autoSize_ = false;
    bool wordWrap_ = false;
    bool transparent_ = true;
    QColor color_ = Qt::white;
    TextFont font_;
};

class Label : public Text {
public:
    using Text::Text;
    std::string caption() const { return caption_.toStdString(); }
    void setCaption(const std::string& caption) { caption_ = QString::fromStdString(caption); }
    QString textFor(const PrintContext&) const override { return caption_; }

private:
    QString caption_;
};

// Shows the display text of one field of the report's data set.
class DBText : public Text {
public:
    using Text::Text;
    const std::string& dataField() const { return dataField_; }
    void setDataField(std::string field) { dataField_ = std::move(field); }
    QString textFor(const PrintContext& context) const override;

private:
    std::string dataField_;
};

// Prints a value of the report run after its own text (if any).
class SysData : public Text {
public:
    enum class Data { DateTime, PageNumber };

    using Text::Text;
    Data data() const { return data_; }
    void setData(Data d) { data_ = d; }
    std::string text() const { return text_.toStdString(); }
    void setText(const std::string& t) { text_ = QString::fromStdString(t); }
    QString textFor(const PrintContext& context) const override;

private:
    Data data_ = Data::DateTime;
    QString text_;
};

}  // namespace report
