// A container with bevelled edges and an optional centred caption, which its
// controls hide when they cover it.
#pragma once

#include <QFrame>
#include <string>

namespace forms {

class Panel : public QFrame {
    Q_OBJECT
public:
    Panel(const std::string& name, QWidget* parent);

    std::string caption() const { return caption_.toStdString(); }
    void setCaption(const std::string& caption);

    // Inner and outer bevel both lowered: a sunken edge two pixels deep.
    void setLoweredBevels();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

}  // namespace forms
