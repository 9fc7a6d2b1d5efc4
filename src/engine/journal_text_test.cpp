// The journal's registry data: written readably only where it has the usual form, exactly in
// hexadecimal otherwise. (Escapes are checked where the uninstall script reads a journal.)
#include "engine/journal_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qxi {
namespace {

TEST(JournalText, RegistryValuesAreReadableOnlyInTheirUsualForm) {
  std::string type, data;
  RegistryValueFields(1, std::string("Hello\0", 6), type, data);
  EXPECT_EQ(type + "|" + data, "REG_SZ|Hello");
  RegistryValueFields(2, std::string("%TEMP%\0", 7), type, data);
  EXPECT_EQ(type + "|" + data, "REG_EXPAND_SZ|%TEMP%");
  RegistryValueFields(4, std::string("\xFF\xFF\xFF\xFF", 4), type, data);
  EXPECT_EQ(type + "|" + data, "REG_DWORD|4294967295");
  RegistryValueFields(3, std::string("\x00\x2c\xff", 3), type, data);
  EXPECT_EQ(type + "|" + data, "REG_BINARY|002CFF");
  // A text without its NUL, a short number and other types keep their bytes exactly.
  RegistryValueFields(1, "ab", type, data);
  EXPECT_EQ(type + "|" + data, "hex(1)|6162");
  RegistryValueFields(4, std::string("\x07\x00", 2), type, data);
  EXPECT_EQ(type + "|" + data, "hex(4)|0700");
  RegistryValueFields(7, std::string("a\0\0", 3), type, data);
  EXPECT_EQ(type + "|" + data, "hex(7)|610000");
}

}  // namespace
}  // namespace qxi
