// A band of a report: a strip the width of the page that prints its texts at one of the
// fixed moments of a page (header, detail per row, footer) or right after its parent band.
#pragma once

#include <QColor>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "texts.h"

namespace report {

enum class BandKind { PageHeader, Child, Detail, PageFooter };

// Lines along the band's edges.
struct BandFrame {
    bool drawTop = false;
    bool drawBottom = false;
    QColor color = Qt::black;
    int width = 1;  // layout units
    Qt::PenStyle style = Qt::DashDotLine;
};

class Band {
public:
    // Called before the band prints, with the flag that lets it print (true on entry).
    using BeforePrint = std::function<void(Band& sender, bool& printBand)>;

    Band(std::string name, BandKind kind, Band* parent = nullptr);
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;

    const std::string& name() const { return name_; }
    BandKind kind() const { return kind_; }
    // For a child band, the band it follows.
    Band* parentBand() const { return parent_; }

    int width() const { return width_; }
    int height() const { return height_; }
    void setSize(int width, int height) { width_ = width; height_ = height; }

    const BandFrame& frame() const { return frame_; }
    BandFrame& frame() { return frame_; }
    QColor color() const { return color_; }
    void setColor(const QColor& c) { color_ = c; }

    void setBeforePrint(BeforePrint handler) { beforePrint_ = std::move(handler); }
    // Runs the handler; true when the band is to print.
    bool runBeforePrint();

    // Adds a text of type T (Label, DBText, SysData) in the font given.
    template <class T>
    T* add(std::string name, const TextFont& font) {
        auto text = std::make_unique<T>(std::move(name));
        text->setFont(font);
        T* raw = text.get();
        texts_.push_back(std::move(text));
        return raw;
    }
    const std::vector<std::unique_ptr<Text>>& texts() const { return texts_; }

private:
    std::string name_;
    BandKind kind_;
    Band* parent_;
    int width_ = 0;
    int height_ = 0;
    BandFrame frame_;
    QColor color_ = Qt::white;
    BeforePrint beforePrint_;
    std::vector<std::unique_ptr<Text>> texts_;
};

}  // namespace report
