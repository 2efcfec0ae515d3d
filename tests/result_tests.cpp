#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/result.h"

namespace {

Result<int> parse_digit(char c) {
  if (c < '0' || c > '9') return Error{std::string("'") + c + "' is not a digit"};
  return c - '0';
}

Result<void> check_even(int v) {
  if (v % 2) return Error{std::to_string(v) + " is odd"};
  return {};
}

// Two digits as a number, the second even: each step returns its error early.
Result<int> parse_pair(const char* s, int* steps) {
  TRY_ASSIGN(int tens, parse_digit(s[0]));
  ++*steps;
  TRY_ASSIGN(const int ones, parse_digit(s[1]));
  ++*steps;
  TRY(check_even(ones));
  ++*steps;
  return tens * 10 + ones;
}

}  // namespace

TEST(Result, TryReturnsTheFirstErrorAndStopsThere) {
  const struct {
    const char* text;
    bool ok;
    int value, steps;
    const char* message;
  } cases[] = {
      {"42", true, 42, 3, ""},
      {"x2", false, 0, 0, "'x' is not a digit"},
      {"4y", false, 0, 1, "'y' is not a digit"},
      {"43", false, 0, 2, "3 is odd"},
  };
  for (const auto& c : cases) {
    int steps = 0;
    Result<int> r = parse_pair(c.text, &steps);
    EXPECT_EQ(r.ok(), c.ok) << c.text;
    EXPECT_EQ(steps, c.steps) << c.text;
    if (r) {
      EXPECT_EQ(*r, c.value) << c.text;
    } else {
      EXPECT_EQ(r.error().message, c.message) << c.text;
    }
  }
}

TEST(Result, HoldsMoveOnlyValues) {
  Result<std::unique_ptr<int>> r = std::make_unique<int>(7);
  ASSERT_TRUE(r);
  std::unique_ptr<int> p = std::move(*r);
  EXPECT_EQ(*p, 7);
}
