#include "layout.h"

namespace report {

const PlacedText* PlacedBand::text(const QString& textName) const {
    for (const PlacedText& t : texts)
        if (t.name == textName) return &t;
    return nullptr;
}

std::vector<const PlacedBand*> ProducedPage::bandsNamed(const QString& bandName) const {
    std::vector<const PlacedBand*> found;
    for (const PlacedBand& b : bands)
        if (b.name == bandName) found.push_back(&b);
    return found;
}

}  // namespace report
