// An event that carries work for later on the window thread. Qt's event queue owns it from
// the post on and deletes it after delivery or, undelivered, with its receiver; the callable
// runs at most once and is freed with the event. GUI thread only.
#pragma once

#include <QEvent>
#include <functional>

namespace korventa {

class PostedCallableEvent : public QEvent {
public:
    // Work queued by RunAsync and by page messages; the application message numbers'
    // counterparts, kept apart so each source can be told from the other.
    static constexpr Type kRunAsync = static_cast<Type>(QEvent::User);
    static constexpr Type kWebMessage = static_cast<Type>(QEvent::User + 1);

    PostedCallableEvent(Type type, std::function<void()> callable);

    [[nodiscard]] static bool isPostedCallable(const QEvent& event);
    void run();

private:
    std::function<void()> callable_;
};

}  // namespace korventa
