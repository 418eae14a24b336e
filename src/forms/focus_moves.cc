#include "focus_moves.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPointer>

#include "combo_box.h"

namespace forms {

class FocusMoveWatcher : public QObject {
public:
    using QObject::QObject;
    void stopClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The focus arrives at `control`: a box of its window that the focus left without
    // being told is left now. True when the exit kept the focus.
    bool focusArrives(QWidget* control, Qt::FocusReason reason);
    bool mouseEvent(QEvent::Type type);

    bool stopNextPress_ = false;
    bool stopRelease_ = false;
};

namespace {

QPointer<FocusMoveWatcher>& watcher() {
    static QPointer<FocusMoveWatcher> instance;
    return instance;
}

}  // namespace

void watchFocusMoves() {
    if (watcher() || !qApp) return;
    watcher() = new FocusMoveWatcher(qApp);
    qApp->installEventFilter(watcher());
}

void stopClickInProgress() {
    if (watcher()) watcher()->stopClick();
}

void FocusMoveWatcher::stopClick() {
    stopNextPress_ = true;
    // The press is delivered right after its focus move; whatever else comes first
    // (it never does) must not find the request still standing.
    QMetaObject::invokeMethod(this, [this] { stopNextPress_ = false; }, Qt::QueuedConnection);
}

bool FocusMoveWatcher::eventFilter(QObject* watched, QEvent* event) {
    // Only what reaches widgets: the window's own copy of a mouse event comes first and
    // does the window's bookkeeping.
    if (!watched->isWidgetType()) return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        return focusArrives(static_cast<QWidget*>(watched), static_cast<QFocusEvent*>(event)->reason());
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return mouseEvent(event->type());
    default:
        return false;
    }
}

bool FocusMoveWatcher::focusArrives(QWidget* control, Qt::FocusReason reason) {
    QWidget* window = control->window();
    if (window->windowType() == Qt::Popup) return false;  // a box's own list
    // At most one box of a window has the focus entered at a time.
    for (ComboBox* box : window->findChildren<ComboBox*>()) {
        if (box == control || !box->entered_ || box->window() != window || box->isAncestorOf(control)) continue;
        const QPointer<QWidget> arriving(control);
        box->leave(reason == Qt::MouseFocusReason);
        return !arriving || QApplication::focusWidget() != arriving;
    }
    return false;
}

bool FocusMoveWatcher::mouseEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (stopNextPress_) {
            stopNextPress_ = false;
            // The button may have come up while the exit's warning was shown.
            stopRelease_ = QGuiApplication::mouseButtons() != Qt::NoButton;
            return true;
        }
        stopRelease_ = false;
        return false;
    case QEvent::MouseMove:
        if (QGuiApplication::mouseButtons() == Qt::NoButton) stopRelease_ = false;
        return stopRelease_;
    case QEvent::MouseButtonRelease:
        if (!stopRelease_) return false;
        stopRelease_ = false;
        return true;
    default:
        return false;
    }
}

}  // namespace forms
