#include "controls/edit_box_adjuster.h"

#include <QEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora::controls {

Adjuster::Adjuster(QLineEdit* box) : QWidget(box), box_(box) {
    setObjectName("adjuster");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int step : {1, -1}) {
        auto* arrow = new QToolButton(this);
        arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(arrow, &QToolButton::clicked, this, [this, step] { Step(step); });
        layout->addWidget(arrow);
    }
    box->installEventFilter(this);
    Place();
}

void Adjuster::SetRange(int32_t a, int32_t b) {
    low_ = std::min(a, b);
    high_ = std::max(a, b);
}

void Adjuster::Step(int step) {
    bool ok = false;
    int64_t value = box_->text().toLongLong(&ok);
    if (!ok) value = low_;
    value = std::clamp<int64_t>(value + step, low_, high_);
    box_->setText(QString::number(value));
}

bool Adjuster::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Resize) Place();
    return false;
}

void Adjuster::Place() {
    int width = std::min(16, box_->width() / 2);
    setGeometry(box_->width() - width, 0, width, box_->height());
    box_->setTextMargins(0, 0, width, 0);
}

}  // namespace velmora::controls
