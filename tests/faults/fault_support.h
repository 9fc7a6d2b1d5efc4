// Test support for the fault tests: file contents that differ from one seed to another.
#pragma once

#include <cstddef>
#include <string>

namespace qxi_test {

/// `size` bytes that differ from one `seed` to another and compress poorly.
std::string Noise(size_t size, unsigned seed);

}  // namespace qxi_test
