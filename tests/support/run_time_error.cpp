#include "support/run_time_error.h"

#include <gtest/gtest.h>

#include "engine/qx_err.h"

namespace qxi_test {

uint32_t RunTimeErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const qxi::QXErr& e) {
    EXPECT_EQ(e.code(), qxi::kRunTimeError);
    return e.win32_error();
  }
  return ~uint32_t{0};
}

}  // namespace qxi_test
