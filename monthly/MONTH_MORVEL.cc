// The monthly account summary program: creates the main window, the report form and
// the account-code preparation form, in this order, and runs the message loop.
#include <QApplication>

#include "MONTH_MORVEL_CODE_Update_Unit.h"
#include "MONTH_MORVEL_Unit1.h"
#include "MONTH_MORVEL_Unit1_Print01.h"
#include "forms/application.h"

int main(int argc, char* argv[]) {
    QApplication qtApplication(argc, argv);
    forms::Application application(argc > 0 ? argv[0] : "MONTH_MORVEL");
    application.createForm(fmMonth_Morvel_Form);
    application.createForm(qrfmMonth_Morvel_Form);
    application.createForm(fmMONTH_MORVEL_CODE_Update_Form);
    return application.run();
}
