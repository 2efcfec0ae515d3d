#pragma once
// The one error convention of the program's fallible operations: a function
// returns Result<T>, either the value or an Error whose message is a sentence
// the user can act on ("layer band 3 is 1024 bytes, expected 1440"). TRY and
// TRY_ASSIGN pass an error up to the caller at once.
#include <optional>
#include <string>
#include <utility>
#include <variant>

struct Error {
  std::string message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  Result(Error e) : v_(std::in_place_index<1>, std::move(e)) {}

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  // Only on a result that is ok().
  T& operator*() & { return std::get<0>(v_); }
  const T& operator*() const& { return std::get<0>(v_); }
  T&& operator*() && { return std::get<0>(std::move(v_)); }
  T* operator->() { return &std::get<0>(v_); }
  const T* operator->() const { return &std::get<0>(v_); }

  // Only on a result that is not ok().
  const Error& error() const& { return std::get<1>(v_); }
  Error&& error() && { return std::get<1>(std::move(v_)); }

 private:
  std::variant<T, Error> v_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error e) : error_(std::move(e)) {}

  bool ok() const { return !error_; }
  explicit operator bool() const { return ok(); }
  const Error& error() const& { return *error_; }
  Error&& error() && { return std::move(*error_); }

 private:
  std::optional<Error> error_;
};

// Returns the error of `expr` (a Result) from the enclosing function.
#define TRY(expr)                                                                       \
  do {                                                                                  \
    if (auto try_result_ = (expr); !try_result_) return std::move(try_result_).error(); \
  } while (0)

// Declares or assigns `lhs` from the value of `expr`, or returns its error:
// TRY_ASSIGN(Bytes bytes, read_file(path));
#define TRY_ASSIGN(lhs, expr) TRY_ASSIGN_AT(TRY_CONCAT(try_value_, __LINE__), lhs, expr)
#define TRY_ASSIGN_AT(tmp, lhs, expr)      \
  auto tmp = (expr);                       \
  if (!tmp) return std::move(tmp).error(); \
  lhs = std::move(*tmp)
#define TRY_CONCAT(a, b) TRY_CONCAT_INNER(a, b)
#define TRY_CONCAT_INNER(a, b) a##b
