#include "support/key_access.h"

#include <gtest/gtest.h>

namespace qxi_test {

void DenyKeyAccess(HKEY root, const char* path, bool deny) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ACL empty;
  InitializeAcl(&empty, sizeof empty, ACL_REVISION);
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, deny ? &empty : nullptr, FALSE);
  EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
  RegCloseKey(key);
}

}  // namespace qxi_test
