#pragma once

#include <string>
#include <utility>
#include <variant>

namespace platform {

// The outcome of a fallible operation: a value, or a one-line reason why not.
// Nothing in the platform throws across a module border; callers look at this.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}
    static Result failure(std::string reason) { return Result(Error{std::move(reason)}); }

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(v_); }
    const T& value() const { return std::get<0>(v_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const std::string& error() const { return std::get<1>(v_).reason; }

private:
    struct Error {
        std::string reason;
    };
    explicit Result(Error e) : v_(std::move(e)) {}
    std::variant<T, Error> v_;
};

// For operations with nothing to return but success.
struct Done {};
using Status = Result<Done>;
inline Status success() {
    return Done{};
}

} // namespace platform
