// Counts the Qt events of one type that reach an object, seen before the object's own handling.
#pragma once

#include <QEvent>
#include <QObject>

namespace fw_test {

class TEventCount : public QObject {
public:
    TEventCount(QObject& watched, QEvent::Type type) : type_(type) { watched.installEventFilter(this); }
    int Count() const { return count_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == type_) ++count_;
        return QObject::eventFilter(watched, event);
    }

private:
    QEvent::Type type_;
    int count_ = 0;
};

}  // namespace fw_test
