#include "platform/ui/message_target.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QtGlobal>
#include <exception>
#include <mutex>
#include <unordered_map>

#include "platform/ui/sanitizer_handover.h"

namespace platform {

namespace {

// Made on the posting thread, read and freed on the receiver's (or freed there unread when the
// receiver goes first).
class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(QEvent::Type type, uint32_t msg, intptr_t wParam, intptr_t lParam)
        : QEvent(type), Msg(msg), WParam(wParam), LParam(lParam) {
        MarkHandedOver(this);
    }
    ~WindowMessageEvent() override { MarkTakenOver(this); }
    const uint32_t Msg;
    const intptr_t WParam;
    const intptr_t LParam;
};

// Every live target by handle, and the event type of every message id posted so far. Posting holds
// the mutex, so a target cannot be destroyed between being found and receiving its event.
struct TargetTable {
    std::mutex mutex;
    std::unordered_map<WindowHandle, QObject*> targets;
    std::unordered_map<uint32_t, QEvent::Type> eventTypes;
    WindowHandle lastHandle = 0;

    WindowHandle NewHandle() {
        do ++lastHandle;
        while (lastHandle == 0 || targets.count(lastHandle));
        return lastHandle;
    }
};

TargetTable& Table() {
    static auto* table = new TargetTable;  // targets may outlive static destruction order
    return *table;
}

}  // namespace

class MessageTarget::Receiver : public QObject {
public:
    explicit Receiver(MessageHandler handler) : handler_(std::make_shared<MessageHandler>(std::move(handler))) {}

    // The target has gone: messages still queued are dropped.
    void Detach() { detached_ = true; }
    bool Dispatching() const { return dispatching_ > 0; }

    bool event(QEvent* e) override {
        auto* message = dynamic_cast<WindowMessageEvent*>(e);
        if (!message) return QObject::event(e);
        MarkTakenOver(message);
        if (detached_) return true;
        // The handler may destroy its own target: keep what this call uses alive until it returns.
        std::shared_ptr<MessageHandler> handler = handler_;
        ++dispatching_;
        try {
            (*handler)(message->Msg, message->WParam, message->LParam);
        } catch (const std::exception& ex) {
            qWarning("[message target] handler of message 0x%X failed: %s", message->Msg, ex.what());
        } catch (...) {
            qWarning("[message target] handler of message 0x%X failed", message->Msg);
        }
        --dispatching_;
        return true;
    }

private:
    std::shared_ptr<MessageHandler> handler_;
    bool detached_ = false;
    int dispatching_ = 0;
};

MessageTarget::MessageTarget(MessageHandler handler) : receiver_(new Receiver(std::move(handler))) {
    TargetTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    handle_ = table.NewHandle();
    table.targets.emplace(handle_, receiver_);
}

MessageTarget::~MessageTarget() {
    {
        TargetTable& table = Table();
        std::lock_guard<std::mutex> guard(table.mutex);
        table.targets.erase(handle_);
    }
    receiver_->Detach();
    QCoreApplication::removePostedEvents(receiver_);
    if (receiver_->Dispatching())
        receiver_->deleteLater();  // its event() is still on the stack
    else
        delete receiver_;
}

bool PostMessage(WindowHandle target, uint32_t msg, intptr_t wParam, intptr_t lParam) {
    TargetTable& table = Table();
    std::lock_guard<std::mutex> guard(table.mutex);
    auto it = table.targets.find(target);
    if (it == table.targets.end()) return false;
    auto type = table.eventTypes.find(msg);
    if (type == table.eventTypes.end()) {
        int registered = QEvent::registerEventType();
        if (registered < 0) {
            qWarning("[message target] no event type left for message 0x%X", msg);
            return false;
        }
        type = table.eventTypes.emplace(msg, static_cast<QEvent::Type>(registered)).first;
    }
    QCoreApplication::postEvent(it->second, new WindowMessageEvent(type->second, msg, wParam, lParam));
    return true;
}

}  // namespace platform
