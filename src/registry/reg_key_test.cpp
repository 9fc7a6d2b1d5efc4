// RegKey against the real registry (under Wine), in a key of the test's own under HKCU that
// is removed afterwards.
#include "registry/reg_key.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/params.h"
#include "engine/message_source.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

std::string SystemText(uint32_t code) {
  char text[1024];
  return LoadWin32ErrorText(code, 0x11FA, text, sizeof text) ? text : "";
}

class RegKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = "Software\\QxiTest\\RegKey" + std::to_string(GetCurrentProcessId());
    key_ = RootKey(kRootCurrentUser).Create(path_);
  }
  void TearDown() override {
    key_.Close();
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QxiTest");  // only once it is empty
  }
  void Store(const char* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExA(key_.handle(), name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
  // The raw stored type and bytes of a value.
  std::string Raw(const char* name, DWORD* type) {
    BYTE data[64];
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key_.handle(), name, nullptr, type, data, &size), ERROR_SUCCESS);
    return std::string(reinterpret_cast<char*>(data), size);
  }

  std::string path_;
  RegKey key_;
};

template <typename Body>
int32_t CodeOf(Body body) {
  try {
    body();
  } catch (const RegKey::Except& e) {
    return e.code();
  }
  return -1;
}

TEST_F(RegKeyTest, CreateOpenAndClose) {
  // Create makes missing parents and opens an existing key; Open refuses a missing one.
  RegKey child = key_.Create("A\\B\\C");
  EXPECT_NE(child.handle(), nullptr);
  EXPECT_EQ(child.Close(), ERROR_SUCCESS);
  EXPECT_EQ(child.Close(), 0);
  RegKey again = key_.Create("A\\B\\C");
  RegKey opened = key_.Open("a\\b\\c");
  EXPECT_NE(opened.handle(), nullptr);
  EXPECT_EQ(CodeOf([&] { key_.Open("Missing"); }), ERROR_FILE_NOT_FOUND);

  RegKey empty;
  EXPECT_EQ(empty.Close(), 0);
  EXPECT_EQ(empty.Close(), 0);

  // The key Open gives permits what its callers do next: queries, removal, a DWORD write.
  opened.SetDword("Counter", 41);
  EXPECT_EQ(opened.QueryDword("Counter"), 41u);
  opened.RemoveValue("Counter");
  EXPECT_EQ(opened.ValueType("Counter"), 0u);
  EXPECT_EQ(CodeOf([&] { opened.RemoveValue("Counter"); }), ERROR_FILE_NOT_FOUND);

  // RemoveSubKey makes one deletion call; a leaf goes away.
  opened.Close();
  again.Close();
  key_.RemoveSubKey("A\\B\\C");
  EXPECT_EQ(CodeOf([&] { key_.Open("A\\B\\C"); }), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(CodeOf([&] { key_.RemoveSubKey("A\\B\\C"); }), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegKeyTest, ValueTypeAndQueryString) {
  Store("Sz", REG_SZ, "abc", 4);
  Store("EmptySz", REG_SZ, "", 0);
  Store("Expand", REG_EXPAND_SZ, "abc", 4);
  DWORD seven = 7;
  Store("Dword", REG_DWORD, &seven, 4);
  Store("None", REG_NONE, "", 0);

  EXPECT_EQ(key_.ValueType("Sz"), static_cast<uint32_t>(REG_SZ));
  EXPECT_EQ(key_.ValueType("Dword"), static_cast<uint32_t>(REG_DWORD));
  EXPECT_EQ(key_.ValueType("None"), 0u);
  EXPECT_EQ(key_.ValueType("Missing"), 0u);
  RegKey closed;
  EXPECT_EQ(closed.ValueType("Sz"), 0u);

  EXPECT_EQ(key_.QueryString("Sz"), "abc");
  EXPECT_EQ(key_.QueryString("EmptySz"), "");
  EXPECT_EQ(CodeOf([&] { key_.QueryString("Expand"); }), 0);
  EXPECT_EQ(CodeOf([&] { key_.QueryString("Dword"); }), 0);
  EXPECT_EQ(CodeOf([&] { key_.QueryString("Missing"); }), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegKeyTest, QueryDwordReadsUpToFourBytesOfAnyType) {
  DWORD seven = 7;
  Store("Dword", REG_DWORD, &seven, 4);
  Store("Bin4", REG_BINARY, "\x01\x00\x00\x00", 4);
  Store("Bin5", REG_BINARY, "\x01\x02\x03\x04\x05", 5);
  Store("Bin1", REG_BINARY, "\x2A", 1);
  Store("Bin2", REG_BINARY, "\xFF\x01", 2);

  EXPECT_EQ(key_.QueryDword("Dword"), 7u);
  EXPECT_EQ(key_.QueryDword("Bin4"), 1u);
  // A shorter value leaves its missing high bytes zero.
  EXPECT_EQ(key_.QueryDword("Bin1"), 0x2Au);
  EXPECT_EQ(key_.QueryDword("Bin2"), 0x01FFu);
  EXPECT_EQ(CodeOf([&] { key_.QueryDword("Bin5"); }), ERROR_MORE_DATA);
  EXPECT_EQ(CodeOf([&] { key_.QueryDword("Missing"); }), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegKeyTest, SettersStoreTypeAndBytes) {
  DWORD type = 0;
  key_.SetString("Text", "Hello");
  EXPECT_EQ(Raw("Text", &type), std::string("Hello\0", 6));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  key_.SetString("Empty", "");
  EXPECT_EQ(Raw("Empty", &type), std::string("\0", 1));

  key_.SetDword("Number", 0xFFFFFFFFu);
  EXPECT_EQ(Raw("Number", &type), "\xFF\xFF\xFF\xFF");
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));

  key_.SetData("Bytes", {0x00, 0xFF}, REG_BINARY);
  EXPECT_EQ(Raw("Bytes", &type), std::string("\x00\xFF", 2));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  key_.SetData("NoBytes", {}, REG_BINARY);
  EXPECT_EQ(Raw("NoBytes", &type), "");
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
}

TEST(RegKeyExcept, WhatIsTheSystemTextEveryTime) {
  RegKey::Except e(ERROR_FILE_NOT_FOUND);
  std::string first = e.what();
  EXPECT_EQ(first, SystemText(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(std::string(e.what()), first);
  RegKey::Except copy = e;
  EXPECT_EQ(copy.code(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(std::string(copy.what()), first);
  EXPECT_STREQ(RegKey::Except(0x7FFFFFF0).what(), "");  // no text: empty, never null
}

TEST(RootKeys, HandlesOfTheSevenRoots) {
  const HKEY expected[7] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,     HKEY_LOCAL_MACHINE,
                            HKEY_USERS,        HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG,
                            HKEY_DYN_DATA};
  RootKeyParam param("Root Key");
  const char* const names[7] = {"hkcr", "HkCu", "HKLM", "hku", "HKPD", "hkcc", "HKDD"};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(RootKey(i).handle(), expected[i]) << i;
    EXPECT_EQ(NamesEqual(param.options()[i], names[i]), true) << i;
    EXPECT_EQ(PredefinedKey(0x80000000u + static_cast<uint32_t>(i)), expected[i]) << i;
  }
}

}  // namespace
}  // namespace qxi
