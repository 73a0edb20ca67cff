#pragma once

#include <functional>
#include <utility>

namespace quillora {

// A yes/no state that tells a listener each time it changes, so that whatever shows it follows
// it by itself. It reads and assigns like a bool. A copy takes the value, not the listener.
class ObservedFlag {
public:
    ObservedFlag() = default;
    ObservedFlag(const ObservedFlag& other) : on_(other.on_) {}
    ObservedFlag& operator=(const ObservedFlag& other) { return *this = other.on_; }

    ObservedFlag& operator=(bool on) {
        if (on != on_) {
            on_ = on;
            if (listener_) listener_(on_);
        }
        return *this;
    }
    operator bool() const { return on_; }  // NOLINT(google-explicit-constructor): reads as a bool

    void SetListener(std::function<void(bool)> listener) { listener_ = std::move(listener); }

private:
    bool on_ = false;
    std::function<void(bool)> listener_;
};

}  // namespace quillora
