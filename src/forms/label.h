// A static text of a form.
#pragma once

#include <QLabel>
#include <string>

namespace forms {

class Label : public QLabel {
    Q_OBJECT
public:
    Label(const std::string& name, const std::string& caption, QWidget* parent);

    std::string caption() const { return text().toStdString(); }
    void setCaption(const std::string& caption) { setText(QString::fromStdString(caption)); }
};

}  // namespace forms
