#include "support/priority_store.h"

#include <gtest/gtest.h>

#include <cstring>

#include "registry/priorities.h"

namespace qxi_test {
namespace {

void StoreValue(const std::string& path, DWORD type, const void* data, DWORD size) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, qxi::kPrioritiesKey, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, path.c_str(), 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

}  // namespace

void RemovePriorityStore() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, qxi::kPrioritiesKey); }

bool PriorityStoreExists() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, qxi::kPrioritiesKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

DWORD StoredPriority(const std::string& path, DWORD* type) {
  *type = 0;
  DWORD data = 0;
  DWORD size = sizeof data;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, qxi::kPrioritiesKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return 0;
  }
  if (RegQueryValueExA(key, path.c_str(), nullptr, type, reinterpret_cast<BYTE*>(&data),
                       &size) != ERROR_SUCCESS) {
    *type = 0;
    data = 0;
  }
  RegCloseKey(key);
  return data;
}

void StorePriority(const std::string& path, DWORD value) {
  StoreValue(path, REG_DWORD, &value, sizeof value);
}

void StorePriorityText(const std::string& path, const char* text) {
  StoreValue(path, REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1));
}

}  // namespace qxi_test
