// The daily account summary program: creates the main window, the report form and
// the account-code preparation form, in this order, and runs the message loop.
#include <QApplication>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "DAY_MORVEL_Unit1.h"
#include "DAY_MORVEL_Unit1_Print01.h"
#include "forms/application.h"

int main(int argc, char* argv[]) {
    QApplication qtApplication(argc, argv);
    forms::Application application(argc > 0 ? argv[0] : "DAY_MORVEL");
    application.createForm(fmDay_Morvel_Form);
    application.createForm(qrfmDay_Morvel_Form);
    application.createForm(fmDAY_MORVEL_CODE_Update_Form);
    return application.run();
}
