#include "work_table_prep.h"

#include <memory>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"

namespace fixture {
namespace {

// One hidden form for the whole program, as each summary program keeps one.
std::unique_ptr<TfmDAY_MORVEL_CODE_Update_Form> form;

TfmDAY_MORVEL_CODE_Update_Form& preparationForm() {
    if (!form) form = std::make_unique<TfmDAY_MORVEL_CODE_Update_Form>();
    return *form;
}

}  // namespace

void prepareWorkTable() { preparationForm().pRun_CodeUpdate(); }

void cleanUpWorkTable() { preparationForm().pDelete_Update(); }

void releasePreparationForm() { form.reset(); }

}  // namespace fixture
