// Events are callbacks bound to an object, raised with the sender first.
#pragma once

#include <functional>

namespace nv {

// The common base of everything that can be a sender.
class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Raises an event only when a handler is assigned. The handler runs from a copy, so it may
// detach or replace itself while it runs.
template <class Event, class... Args> void Raise(const Event& event, Args&&... args) {
    if (!event) return;
    Event handler = event;
    handler(std::forward<Args>(args)...);
}

} // namespace nv
