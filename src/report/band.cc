#include "band.h"

namespace report {

Band::Band(std::string name, BandKind kind, Band* parent)
    : name_(std::move(name)), kind_(kind), parent_(parent) {}

bool Band::runBeforePrint() {
    bool printBand = true;
    if (beforePrint_) beforePrint_(*this, printBand);
    return printBand;
}

}  // namespace report
