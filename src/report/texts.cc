#include "texts.h"

#include "clock.h"
#include "data_set.h"

namespace report {

void Text::setBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

QString DBText::textFor(const PrintContext& context) const {
    if (!context.dataSet || context.dataSet->eof()) return {};
    return context.dataSet->displayText(QString::fromStdString(dataField_));
}

QString SysData::textFor(const PrintContext& context) const {
    switch (data_) {
    case Data::DateTime: return text_ + formatDateTimeC(context.moment);
    case Data::PageNumber: return text_ + QString::number(context.pageNumber);
    }
    return text_;
}

}  // namespace report
