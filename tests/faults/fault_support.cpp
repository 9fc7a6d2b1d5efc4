// The fault tests' helpers: test data.
#include "faults/fault_support.h"

namespace qxi_test {

std::string Noise(size_t size, unsigned seed) {
  std::string bytes;
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245 + 12345;
    bytes.push_back(static_cast<char>(seed >> 24));
  }
  return bytes;
}

}  // namespace qxi_test
