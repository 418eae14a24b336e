// The hidden account-code preparation form that both programs carry.
//
// Before each summary query pRun_CodeUpdate prepares the work table Test_Ac_Code: it
// inserts the chart's heading rows, gives the account rows their balance class in
// Jan_Check and writes the link codes of the listed accounts. pDelete_Update afterwards
// deletes every row without a Serial_No and resets the class and link codes of the rest.
// All data comes from the item lists of the form's invisible, disabled combo boxes,
// walked by item index; every statement runs on Query_SSSSS_Code (alias "Account").
// Nothing here catches a database error: it stops the operation and reaches the caller.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/query.h"
#include "forms/combo_box.h"
#include "forms/form.h"
#include "forms/label.h"

namespace codeprep {

class CodeUpdateForm : public forms::Form {
    Q_OBJECT
public:
    // `name` is the form's name, which is also its window caption.
    explicit CodeUpdateForm(const std::string& name, QWidget* parent = nullptr);

    // Titles of the four groups of lists.
    forms::Label* Label1;
    forms::Label* Label2;
    forms::Label* Label3;
    forms::Label* Label4;

    // Heading rows: code, Ac_Name, Ac_Name_SiSan, Ac_Name_Gita.
    forms::ComboBox* cbCode;
    forms::ComboBox* cbCode_Name_01;
    forms::ComboBox* cbCode_Name_02;
    forms::ComboBox* cbCode_Name_03;
    // Balance-class lists.
    forms::ComboBox* cbJan_Check_30;
    forms::ComboBox* cbJan_Check_70;
    forms::ComboBox* cbJan_Check_15;
    forms::ComboBox* cbJan_Check_17;
    forms::ComboBox* cbJan_Check_20;
    forms::ComboBox* cbJan_Check_23;
    forms::ComboBox* cbJan_Check_25;
    forms::ComboBox* cbJan_Check_27;
    forms::ComboBox* cbJan_Check_60;
    forms::ComboBox* cbJan_Check_65;
    forms::ComboBox* cbJan_Check_70_2;
    forms::ComboBox* cbJan_Check_80;
    // The link table.
    forms::ComboBox* cbCode_ThreeMove;
    forms::ComboBox* cbCode_TwoMove;
    forms::ComboBox* cbCode_MoveCode;
    forms::ComboBox* cbThe_Code;
    forms::ComboBox* cbAc_Code;
    // Balance-class lists.
    forms::ComboBox* cbJan_Check_10;
    forms::ComboBox* cbJan_Check_57;

    engine::Query Query_SSSSS_Code{"Account"};

    // The whole preparation: heading rows, class-wide classes, the fourteen
    // balance-class lists, the link table (429 statements).
    void pRun_CodeUpdate();
    // The clean-up: deletes every row without Serial_No, then sets Jan_Check "99" and
    // the four link codes to the no-link value on every remaining row.
    void pDelete_Update();
    // True from the start of a preparation until a clean-up has completed: the work table
    // may hold what this form prepared.
    bool leftPrepared() const { return leftPrepared_; }
    // Recovery before a preparation: when the table still holds heading rows (rows
    // without Serial_No, left by a copy that died or lost its connection midway), runs
    // the clean-up first, so that no summary counts them twice. Returns true when it did.
    // Callers hold the database guard, so the rows cannot be another copy's at work.
    bool pClean_Leftovers();
    // The four class-wide balance-class updates.
    void pJan_Kubun_Update();
    // Inserts heading rows 0 .. count-1.
    void pKubun_SSSSS(int count);
    // Sets Jan_Check to `value` on the codes of items 0 .. count-1 of `list`.
    void pJaSan_Kubun(forms::ComboBox& list, int count, const std::string& value);
    // Writes the link codes of link-table rows 0 .. count-1.
    void pCode_Mode(int count);

    // Every list of the form, in declaration order.
    const std::vector<forms::ComboBox*>& lists() const { return lists_; }

private:
    using Params = std::initializer_list<std::pair<const char*, std::string>>;

    forms::Label* makeLabel(const char* name, const char* caption, bool visible);
    forms::ComboBox* makeList(const char* name);
    // Runs one statement on Query_SSSSS_Code: its lines, then its parameters in order.
    void runStatement(std::span<const std::string_view> lines, Params params);

    std::vector<forms::ComboBox*> lists_;
    bool leftPrepared_ = false;
};

}  // namespace codeprep
