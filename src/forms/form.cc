#include "form.h"

namespace forms {

Form::Form(const std::string& name, QWidget* parent) : QWidget(parent) {
    setObjectName(QString::fromStdString(name));
    setWindowTitle(QString::fromStdString(name));
}

}  // namespace forms
