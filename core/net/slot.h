#pragma once
// The hand-over from a worker thread to the UI thread: the worker leaves its result
// here, then posts a message; the UI thread takes the result out when it handles the
// message. One value per kind of result: an unread value is replaced by a newer one.
#include <mutex>
#include <optional>
#include <utility>

namespace tw {

template <class T>
class Slot {
public:
    void put(T value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }
    // The value left since the last take, if any; the slot is empty afterwards, so a
    // second message for the same value finds nothing.
    std::optional<T> take() {
        std::lock_guard lock(mutex_);
        std::optional<T> out = std::move(value_);
        value_.reset();
        return out;
    }

private:
    std::mutex mutex_;
    std::optional<T> value_;
};

}  // namespace tw
