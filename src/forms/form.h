// A window of the class library: a named top-level widget with a caption.
#pragma once

#include <QWidget>
#include <string>

namespace forms {

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const std::string& name, QWidget* parent = nullptr);

    std::string name() const { return objectName().toStdString(); }
    std::string caption() const { return windowTitle().toStdString(); }
    void setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }
};

}  // namespace forms
