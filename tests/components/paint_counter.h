// Counts the paint events a widget receives, to tell an immediate repaint from a later one.
#pragma once

#include <QEvent>
#include <QObject>

namespace fw_test {

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QObject* target) { target->installEventFilter(this); }
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

}  // namespace fw_test
