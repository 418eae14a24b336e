// A window of the class library: a named top-level widget with a caption, an outer
// size and position, creation and close handlers, and a tab order of its own.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace forms {

// What a close handler leaves the form to do.
enum class CloseAction { None, Hide, Free, Minimize };

// A control's place in its parent's tab order (controls without one take no part).
void setTabOrder(QWidget* control, int order);
int tabOrder(const QWidget* control);  // -1 when none

class Form : public QWidget {
    Q_OBJECT
public:
    // The frame a sizeable window with a caption adds to its client area.
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 27;

    explicit Form(const std::string& name, QWidget* parent = nullptr);

    std::string name() const { return objectName().toStdString(); }
    std::string caption() const { return windowTitle().toStdString(); }
    void setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

    // Outer size and position (frame included); the client area is the outer size less
    // the frame. The position is the outer top-left corner in screen coordinates.
    void setOuterSize(int width, int height);
    int outerWidth() const { return width() + kFrameWidth; }
    int outerHeight() const { return height() + kFrameHeight; }
    void setLeft(int left) { move(left, y()); }
    void setTop(int top) { move(x(), top); }
    int left() const { return x(); }
    int top() const { return y(); }

    // Background colour of the client area.
    void setColor(const QColor& color);

    // Keeps a control along the bottom edge: its height stays, it spans the client
    // width and follows resizing.
    void alignBottom(QWidget* control);

    // Event handlers.
    std::function<void()> onCreate;
    std::function<void(CloseAction&)> onClose;

    // Runs the creation handler; an error escaping it goes to the error box.
    void create();
    void setMainForm(bool on) { mainForm_ = on; }
    bool isMainForm() const { return mainForm_; }

    // The controls in tab order: each parent's children by their tab order, walking
    // into containers (panels). Only controls that are tab stops are listed.
    std::vector<QWidget*> tabOrderList() const;
    // Gives the focus to the next (or previous) control of the tab order after `from`
    // that can take it, wrapping at the ends. Returns false when there is none.
    bool selectNext(QWidget* from, bool forward);
    // Rebuilds the widget focus chain from the tab order (call once the controls exist).
    void applyTabOrder();

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeAligned();

    std::vector<QWidget*> bottomAligned_;
    bool mainForm_ = false;
    bool shownOnce_ = false;
    bool activatedOnce_ = false;
};

// Whether a control can take the focus now and is a tab stop.
bool canTakeFocus(const QWidget* control);

}  // namespace forms
