#pragma once
// A value, or the English message that says why there is none. Network errors travel
// this way from the workers to the UI thread, which logs them (they are never shown).
#include <optional>
#include <string>
#include <utility>

namespace tw {

template <class T>
struct Outcome {
    std::optional<T> value;
    std::string error;  // set when `value` is empty

    static Outcome success(T v) { return {std::move(v), {}}; }
    static Outcome failure(std::string message) { return {std::nullopt, std::move(message)}; }
    explicit operator bool() const { return value.has_value(); }
};

}  // namespace tw
