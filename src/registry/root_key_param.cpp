#include "registry/root_key_param.h"

namespace qxi {

RootKeyParam::RootKeyParam(std::string display_name)
    : EnumParam(std::move(display_name), {"HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC", "HKDD"}) {}

}  // namespace qxi
