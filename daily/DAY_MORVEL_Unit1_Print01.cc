#include "DAY_MORVEL_Unit1_Print01.h"

TqrfmDay_Morvel_Form* qrfmDay_Morvel_Form = nullptr;

TqrfmDay_Morvel_Form::TqrfmDay_Morvel_Form(QWidget* parent) : forms::Form("qrfmDay_Morvel_Form", parent) {}
