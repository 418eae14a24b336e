#include "form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QVariant>
#include <algorithm>

#include "application.h"

namespace forms {
namespace {

constexpr const char* kTabOrderProperty = "tabOrder";

void collectTabStops(const QWidget* parent, std::vector<QWidget*>& out) {
    std::vector<QWidget*> ordered;
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow() && tabOrder(widget) >= 0) ordered.push_back(widget);
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const QWidget* a, const QWidget* b) { return tabOrder(a) < tabOrder(b); });
    for (QWidget* widget : ordered) {
        if (widget->focusPolicy() & Qt::TabFocus) out.push_back(widget);
        else collectTabStops(widget, out);  // a container: its own controls take part
    }
}

}  // namespace

void setTabOrder(QWidget* control, int order) { control->setProperty(kTabOrderProperty, order); }

int tabOrder(const QWidget* control) {
    const QVariant v = control->property(kTabOrderProperty);
    return v.isValid() ? v.toInt() : -1;
}

bool canTakeFocus(const QWidget* control) {
    return control->isVisible() && control->isEnabled() && (control->focusPolicy() & Qt::TabFocus);
}

Form::Form(const std::string& name, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QString::fromStdString(name));
    setWindowTitle(QString::fromStdString(name));
    // A close box and the system menu only; the border stays sizeable.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
}

void Form::setOuterSize(int width, int height) {
    resize(std::max(0, width - kFrameWidth), std::max(0, height - kFrameHeight));
}

void Form::setColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void Form::alignBottom(QWidget* control) {
    bottomAligned_.push_back(control);
    placeAligned();
}

void Form::placeAligned() {
    for (QWidget* control : bottomAligned_)
        control->setGeometry(0, height() - control->height(), width(), control->height());
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeAligned();
}

void Form::create() {
    if (onCreate) runHandler(onCreate);
}

std::vector<QWidget*> Form::tabOrderList() const {
    std::vector<QWidget*> list;
    collectTabStops(this, list);
    return list;
}

bool Form::selectNext(QWidget* from, bool forward) {
    const auto list = tabOrderList();
    if (list.empty()) return false;
    const int n = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), from);
    int start = it == list.end() ? (forward ? -1 : n) : static_cast<int>(it - list.begin());
    for (int step = 1; step <= n; ++step) {
        const int i = ((start + (forward ? step : -step)) % n + n) % n;
        QWidget* candidate = list[i];
        if (candidate != from && canTakeFocus(candidate)) {
            candidate->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void Form::applyTabOrder() {
    const auto list = tabOrderList();
    for (std::size_t i = 1; i < list.size(); ++i) QWidget::setTabOrder(list[i - 1], list[i]);
}

bool Form::event(QEvent* event) {
    // The first activation moves the focus into the window: the control that takes it
    // is entered as by any other focus move.
    if (event->type() == QEvent::WindowActivate && !activatedOnce_) {
        activatedOnce_ = true;
        QWidget* first = focusWidget();
        if (first && QApplication::focusWidget() != first) first->setFocus(Qt::OtherFocusReason);
    }
    return QWidget::event(event);
}

bool Form::focusNextPrevChild(bool next) {
    QWidget* from = focusWidget();
    if (selectNext(from, next)) return true;
    return QWidget::focusNextPrevChild(next);
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    // No control is named to take the focus: the first tab stop that can take it does.
    if (!focusWidget()) {
        for (QWidget* control : tabOrderList()) {
            if (canTakeFocus(control)) {
                control->setFocus(Qt::ActiveWindowFocusReason);
                break;
            }
        }
    }
}

void Form::closeEvent(QCloseEvent* event) {
    CloseAction action = CloseAction::Hide;
    const bool completed = runHandler([&] {
        if (onClose) onClose(action);
    });
    if (!completed || action == CloseAction::None) {
        event->ignore();
        return;
    }
    event->accept();
    if (mainForm_) {
        if (auto* app = Application::instance()) app->terminate();
        return;
    }
    switch (action) {
    case CloseAction::Free: deleteLater(); break;
    case CloseAction::Minimize: event->ignore(); showMinimized(); break;
    default: break;
    }
}

}  // namespace forms
