// Registry commands on a key nobody may open (an access list without entries): each line is
// reported with the command, its place and the system's text for the refusal, and the
// script goes on.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/disk_files.h"
#include "support/key_access.h"
#include "support/script_runner.h"

namespace {

using qxi_test::Lines;
using qxi_test::SystemText;
using Texts = std::vector<std::string>;

constexpr char kParent[] = "Software\\QxiFaultTests";
constexpr char kDenied[] = "Software\\QxiFaultTests\\Denied";

TEST(RegistryFaults, KeyWithoutAccessFailsEachLineWithTheSystemText) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kParent);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kDenied, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  DWORD seven = 7;
  RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<BYTE*>(&seven), sizeof seven);
  RegSetValueExA(key, "Old", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  RegCloseKey(key);
  qxi_test::DenyKeyAccess(HKEY_CURRENT_USER, kDenied, true);
  // Wine enforces the list: the test's own open is refused too.
  HKEY probe;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kDenied, 0, KEY_QUERY_VALUE, &probe),
            ERROR_ACCESS_DENIED);

  qxi_test::TempDir dir;
  std::string script;
  const std::string key_text = std::string(" HKCU \"") + kDenied + "\" ";
  const Texts calls = qxi_test::RunText(
      dir,
      "[Main]\nReg Values\n[Values]\nValues 4\n"
      "SetSzValue" + key_text + "Name text\n"
      "DeleteValue" + key_text + "Old\n"
      "IncValue" + key_text + "Count\n"
      "SetSzValue HKCU " + kParent + " After done\n",
      "Main", &script);
  qxi_test::DenyKeyAccess(HKEY_CURRENT_USER, kDenied, false);

  const std::string log = "log " + script + " | ";
  const std::string denied = SystemText(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(denied.empty());
  EXPECT_EQ(calls, Texts({"dialog Values 4",
                          log + "SetSzValue: section [Values] line #2, " + denied, "advance 1",
                          log + "DeleteValue: section [Values] line #3, " + denied, "advance 1",
                          log + "IncValue: section [Values] line #4, " + denied, "advance 1",
                          "advance 1"}))
      << Lines(calls);

  // Nothing under the key changed; the line after them ran.
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kDenied, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  DWORD data = 0, size = sizeof data;
  EXPECT_EQ(RegQueryValueExA(key, "Count", nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(data, 7u);
  EXPECT_EQ(RegQueryValueExA(key, "Old", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  char text[16] = {};
  DWORD text_size = sizeof text;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, kParent, "After", RRF_RT_REG_SZ, nullptr, text,
                         &text_size),
            ERROR_SUCCESS);
  EXPECT_STREQ(text, "done");
  RegDeleteTreeA(HKEY_CURRENT_USER, kParent);
}

}  // namespace
