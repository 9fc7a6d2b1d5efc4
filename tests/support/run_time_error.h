// Test support: the Win32 error of the engine's run-time error that an action raises.
#pragma once

#include <cstdint>
#include <functional>

namespace qxi_test {

/// Runs `action` and returns the Win32 error of the QXErr it raises, adding a test failure
/// unless that error is the run-time error; all bits set when it raises nothing.
uint32_t RunTimeErrorOf(const std::function<void()>& action);

}  // namespace qxi_test
