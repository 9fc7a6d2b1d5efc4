// Test support: the machine-wide priorities store read and written with the registry
// functions themselves, so that tests see and set exactly what lies in the registry.
#pragma once

#include <windows.h>

#include <string>

namespace qxi_test {

/// Removes the whole store key (the tests that use it run in a Wine prefix of their own).
void RemovePriorityStore();

/// True when the store key exists.
bool PriorityStoreExists();

/// The data of the value named `path` read as a 32-bit number, with its type in `type`; 0 and
/// type 0 when there is no such value.
DWORD StoredPriority(const std::string& path, DWORD* type);

/// Stores `value` as REG_DWORD under `path`, creating the key when needed.
void StorePriority(const std::string& path, DWORD value);

/// Stores `text` as REG_SZ under `path`, creating the key when needed.
void StorePriorityText(const std::string& path, const char* text);

}  // namespace qxi_test
