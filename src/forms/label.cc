#include "label.h"

namespace forms {

Label::Label(const std::string& name, const std::string& caption, QWidget* parent)
    : QLabel(QString::fromStdString(caption), parent) {
    setObjectName(QString::fromStdString(name));
}

}  // namespace forms
