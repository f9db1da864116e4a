#pragma once
// Errors as values: a Result holds either a value or an Error whose message
// is what the user sees ("cannot open file: permission denied").

#include <string>
#include <utility>
#include <variant>

namespace pictavo {

struct Error {
    std::string message;
};

template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : data_(std::move(value)) {}
    Result(Error error) : data_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(data_); }
    explicit operator bool() const { return ok(); }
    T& value() & { return std::get<T>(data_); }
    const T& value() const& { return std::get<T>(data_); }
    T&& value() && { return std::get<T>(std::move(data_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    const Error& error() const { return std::get<Error>(data_); }

  private:
    std::variant<T, Error> data_;
};

template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), ok_(false) {}
    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Error& error() const { return error_; }

  private:
    Error error_;
    bool ok_ = true;
};

inline Error makeError(std::string message) {
    return Error{std::move(message)};
}

}  // namespace pictavo
