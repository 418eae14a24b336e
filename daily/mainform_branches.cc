#include "mainform_branches.h"

#include <cstdio>
#include <cstdlib>

#include "engine/query.h"
#include "forms/combo_box.h"

namespace mainform {
namespace {

struct Line {
    const char* text;
    std::size_t width;
};

constexpr Line kBranchStatement[] = {
    {" Select  Kubun_Code, ( rtrim(Kubun_Name) + '/' + rtrim(Kubun_JangSo) ) As Total", 91},
    {" From    Kubun_Table", 93},
    {" Order   By   Kubun_Code", 93},
};

}  // namespace

std::string branchStatementLine(int index) {
    const Line& line = kBranchStatement[index];
    std::string text = line.text;
    if (text.size() < line.width) text.append(line.width - text.size(), ' ');
    return text;
}

void loadBranchList(engine::Query& query, forms::ComboBox& box) {
    query.close();
    query.sql().clear();
    for (int i = 0; i < 3; ++i) query.sql().add(branchStatementLine(i));
    query.open();
    query.first();
    box.clearItems();
    while (!query.eof()) {
        box.addItem(query.fieldByName("Total").asString());
        query.next();
    }
    box.setItemIndex(0);
}

std::string branchParameter(int itemIndex) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%05d", itemIndex < 0 ? "-" : "", std::abs(itemIndex));
    return buf;
}

}  // namespace mainform
