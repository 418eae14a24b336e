// Page production: walks the data set and places the bands on pages.
#include <cmath>

#include "clock.h"
#include "report.h"
#include "text_lines.h"
#include "units.h"

namespace report {
namespace {

class PageBuilder {
public:
    PageBuilder(Report& report, ProducedReport& out, const std::function<void(int)>& pageDone)
        : report_(report), out_(out), pageDone_(pageDone) {
        const PageSettings& page = report.page();
        left_ = mmToUnits(page.leftMarginMm);
        top_ = mmToUnits(page.topMarginMm);
        bottom_ = mmToUnits(page.paperLengthMm - page.bottomMarginMm);
        for (const auto& band : report.bands()) {
            if (band->kind() == BandKind::PageHeader && !header_) header_ = band.get();
            if (band->kind() == BandKind::PageFooter && !footer_) footer_ = band.get();
            if (band->kind() == BandKind::Detail && !detail_) detail_ = band.get();
        }
    }

    void run() {
        DataSet* data = report_.dataSet();
        bool hasRows = false;
        if (data && data->isOpen()) {
            data->first();
            hasRows = !data->eof();
        }
        if (!hasRows && !report_.printIfEmpty) return;
        startPage();
        if (hasRows) {
            for (; !data->eof(); data->next()) printDetail();
        } else {
            printDetail();
        }
        endPage(true);
    }

private:
    double footerHeight() const { return footer_ ? footer_->height() : 0; }

    void startPage() {
        out_.pages.push_back(ProducedPage{static_cast<int>(out_.pages.size()) + 1, {}});
        y_ = top_;
        detailsOnPage_ = 0;
        moment_ = now();
        if (header_ && (out_.pages.size() > 1 || report_.firstPageHeader)) printWithChildren(*header_);
    }

    void endPage(bool last) {
        if (footer_ && (!last || report_.lastPageFooter)) {
            y_ = bottom_ - footer_->height();
            printWithChildren(*footer_);
        }
        if (pageDone_) pageDone_(out_.pages.back().number);
    }

    void printDetail() {
        if (!detail_) return;
        if (!detail_->runBeforePrint()) return;
        const double needed = detail_->height() + childHeight(*detail_);
        if (detailsOnPage_ > 0 && y_ + needed > bottom_ - footerHeight()) {
            endPage(false);
            startPage();
        }
        place(*detail_);
        ++detailsOnPage_;
        printChildren(*detail_);
    }

    double childHeight(const Band& parent) const {
        double h = 0;
        for (const auto& band : report_.bands())
            if (band->kind() == BandKind::Child && band->parentBand() == &parent) h += band->height();
        return h;
    }

    void printWithChildren(Band& band) {
        if (!band.runBeforePrint()) return;
        place(band);
        printChildren(band);
    }

    void printChildren(Band& parent) {
        for (const auto& band : report_.bands())
            if (band->kind() == BandKind::Child && band->parentBand() == &parent) printWithChildren(*band);
    }

    void place(const Band& band) {
        PlacedBand placed;
        placed.name = QString::fromStdString(band.name());
        placed.kind = band.kind();
        placed.rect = QRectF(left_, y_, band.width(), band.height());
        placed.frame = band.frame();
        placed.color = band.color();
        const PrintContext context{report_.dataSet(), out_.pages.back().number, moment_};
        for (const auto& text : band.texts()) placed.texts.push_back(placeText(*text, placed.rect, context));
        out_.pages.back().bands.push_back(std::move(placed));
        y_ += band.height();
    }

    static PlacedText placeText(const Text& text, const QRectF& bandRect, const PrintContext& context) {
        PlacedText placed;
        placed.name = QString::fromStdString(text.name());
        placed.text = text.textFor(context);
        placed.font = text.font();
        placed.alignment = text.alignment();
        placed.transparent = text.transparent();
        placed.color = text.color();
        double left = text.left();
        double width = text.width();
        if (text.autoSize()) {
            const double fitted = std::ceil(textWidth(placed.text, placed.font));
            if (text.alignment() == forms::Alignment::Right) left += width - fitted;
            if (text.alignment() == forms::Alignment::Center) left += (width - fitted) / 2;
            width = fitted;
        }
        placed.rect = QRectF(bandRect.left() + left, bandRect.top() + text.top(), width, text.height());
        placed.lines = visibleLines(placed.text, placed.font, width, text.height(), text.wordWrap() && !text.autoSize());
        return placed;
    }

    Report& report_;
    ProducedReport& out_;
    const std::function<void(int)>& pageDone_;
    Band* header_ = nullptr;
    Band* footer_ = nullptr;
    Band* detail_ = nullptr;
    double left_ = 0, top_ = 0, bottom_ = 0, y_ = 0;
    int detailsOnPage_ = 0;
    QDateTime moment_;
};

}  // namespace

ProducedReport Report::produce(const std::function<void(int page)>& pageDone) {
    ProducedReport out;
    out.pageSize = pageSizeUnits();
    PageBuilder(*this, out, pageDone).run();
    return out;
}

}  // namespace report
