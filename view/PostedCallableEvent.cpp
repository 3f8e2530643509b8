#include "view/PostedCallableEvent.h"

#include <utility>

namespace korventa {

PostedCallableEvent::PostedCallableEvent(Type type, std::function<void()> callable)
    : QEvent(type), callable_(std::move(callable)) {}

bool PostedCallableEvent::isPostedCallable(const QEvent& event) {
    return event.type() == kRunAsync || event.type() == kWebMessage;
}

void PostedCallableEvent::run() {
    const std::function<void()> callable = std::exchange(callable_, nullptr);
    if (callable)
        callable();
}

}  // namespace korventa
