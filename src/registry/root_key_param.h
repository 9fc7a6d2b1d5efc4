// RootKeyParam: the parameter with which a script line names a registry root.
#pragma once

#include <cstdint>
#include <string>

#include "engine/params.h"

namespace qxi {

/// An EnumParam over "HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC", "HKDD", in that order: the
/// position of a name is the low part of its predefined key handle.
class RootKeyParam : public EnumParam {
 public:
  explicit RootKeyParam(std::string display_name);
  /// The predefined key handle 0x80000000 + position of the option read last.
  uint32_t RootHandle() const { return 0x80000000u + static_cast<uint32_t>(value()); }
};

}  // namespace qxi
