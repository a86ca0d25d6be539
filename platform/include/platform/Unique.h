// The sole owner of one handle of a C interface: Close runs once on a valid handle, when the owner lets it go.
// Invalid is the value that holds nothing (for a pointer type, the pointer with that integer value).
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace platform {

template <class T, auto Close, std::intptr_t Invalid = 0>
class Unique {
public:
    Unique() noexcept = default;
    explicit Unique(T value) noexcept : value_(value) {}
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    static T Empty() noexcept {
        if constexpr (std::is_pointer_v<T>)
            return reinterpret_cast<T>(Invalid);
        else
            return static_cast<T>(Invalid);
    }

    T get() const noexcept { return value_; }
    // For out parameters: closes what is held and gives the slot.
    T* put() noexcept {
        reset();
        return &value_;
    }
    // Gives up ownership without closing.
    T release() noexcept { return std::exchange(value_, Empty()); }
    // Closes what is held and takes value.
    void reset(T value = Empty()) noexcept {
        T old = std::exchange(value_, value);
        if (old != Empty()) Close(old);
    }
    explicit operator bool() const noexcept { return value_ != Empty(); }

private:
    T value_ = Empty();
};

}  // namespace platform
