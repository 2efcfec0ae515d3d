#pragma once
// Results in assertions: ASSERT_TRUE(succeeded(save(...))) fails with the
// error's own message.
#include <gtest/gtest.h>

#include "base/result.h"

template <typename T>
::testing::AssertionResult succeeded(const Result<T>& r) {
  if (r) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << r.error().message;
}

// The error's message, or "" for a result that succeeded.
template <typename T>
std::string message_of(const Result<T>& r) {
  return r ? std::string() : r.error().message;
}
