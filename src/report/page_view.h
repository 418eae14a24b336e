// The widget of the preview window that shows one produced page at a zoom factor.
#pragma once

#include <QWidget>

#include "layout.h"

namespace report {

class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    void setPage(const ProducedPage* page, QSizeF pageSize);
    double zoom() const { return zoom_; }
    void setZoom(double zoom);  // 1.0: one layout unit per screen pixel

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ProducedPage* page_ = nullptr;
    QSizeF pageSize_;
    double zoom_ = 1.0;
};

}  // namespace report
