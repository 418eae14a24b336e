// The daily main window on a throw-away database, as the tests of both windows set it
// up (twin_forms.h), with the form's own type for its day boxes.
#pragma once

#include "twin_forms.h"

class DailyFixture : public TwinWindow {
public:
    DailyFixture() : TwinWindow(twinNamed("daily")) {}

    // Creates the main form as start-up does: the instance is set, then FormCreate runs.
    TfmDay_Morvel_Form* createForm() {
        create();
        return form = fmDay_Morvel_Form;
    }

    TfmDay_Morvel_Form* form = nullptr;
};
