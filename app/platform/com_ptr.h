#pragma once
// Owns one COM interface reference and releases it when it goes. Kept tiny on purpose:
// the renderer needs only ownership, out-parameters and moves.
#include <utility>

namespace tw::app {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    // Takes over a reference the caller already owns (no AddRef).
    static ComPtr adopt(T* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }

    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    // Hands the reference to the caller.
    T* detach() { return std::exchange(p_, nullptr); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For "T** out" parameters: drops the current reference first.
    T** put() {
        reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};

}  // namespace tw::app
