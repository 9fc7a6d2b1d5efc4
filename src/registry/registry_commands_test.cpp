// The Reg commands run from scripts against the real registry: the callbacks of every line,
// and the type and bytes of every value written, read back with RegQueryValueExA. The test
// runs in a Wine prefix of its own (it writes under HKEY_LOCAL_MACHINE too) and works under
// a key of its own that is removed before and after each case.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/qx_err.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::Lines;
using qxi_test::TempDir;
using Calls = std::vector<std::string>;

constexpr char kTestKey[] = "Software\\QxiTest\\RegCommands";

// The system's own text for a registry error, as the log shows it.
std::string SystemText(LONG code) {
  char* text = nullptr;
  DWORD length = FormatMessageA(0x11FA, nullptr, static_cast<DWORD>(code), 0x400,
                                reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result(text != nullptr ? text : "", length);
  LocalFree(text);
  EXPECT_FALSE(result.empty()) << code;
  return result;
}

// A value as stored: its type and its bytes; present is false when it cannot be read.
struct Stored {
  bool present = false;
  DWORD type = REG_NONE;
  std::string bytes;

  bool operator==(const Stored& other) const {
    return present == other.present && type == other.type && bytes == other.bytes;
  }
};

std::ostream& operator<<(std::ostream& out, const Stored& value) {
  if (!value.present) return out << "(missing)";
  out << "type " << value.type << ":";
  for (unsigned char byte : value.bytes) out << " " << std::hex << static_cast<int>(byte);
  return out << std::dec;
}

Stored Value(DWORD type, const std::string& bytes) { return Stored{true, type, bytes}; }
Stored Dword(uint32_t number) {
  return Value(REG_DWORD, std::string{static_cast<char>(number), static_cast<char>(number >> 8),
                                      static_cast<char>(number >> 16),
                                      static_cast<char>(number >> 24)});
}
const Stored kMissing;

Stored Read(HKEY root, const std::string& key, const char* name) {
  Stored value;
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return value;
  char data[256];
  DWORD size = sizeof data;
  if (RegQueryValueExA(opened, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data),
                       &size) == ERROR_SUCCESS) {
    value.present = true;
    value.bytes.assign(data, size);
  }
  RegCloseKey(opened);
  return value;
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

// The number of values a key holds; -1 when it cannot be opened.
long ValueCount(HKEY root, const std::string& key) {
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return -1;
  DWORD count = 0;
  RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                   nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(opened);
  return static_cast<long>(count);
}

void Store(const std::string& key, const char* name, DWORD type, const std::string& bytes) {
  HKEY created;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &created, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(created, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(created);
}

class RegCommands : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey);
  }

  // Runs the command lines `body` as section [Reg] (header Registry 7) of a script.
  Calls Run(const std::string& body) {
    return qxi_test::RunText(dir_, "[Main]\r\nReg Reg\r\n[Reg]\r\nRegistry 7\r\n" + body, "Main",
                             &script_);
  }
  std::string Log(const std::string& message) const { return "log " + script_ + " | " + message; }
  // A registry error of `command` on line `line`.
  std::string Failure(const char* command, int line, LONG code) const {
    return Log(std::string(command) + ": section [Reg] line #" + std::to_string(line) + ", " +
               SystemText(code));
  }
  // A line refused while it was read, at parameter `param`.
  std::string Refused(int32_t error, int line, int param) const {
    return Log(std::string(QXErr(error).what()) + ", section [Reg] line #" +
               std::to_string(line) + " Param #" + std::to_string(param));
  }

  TempDir dir_;
  std::string script_;
  const std::string key_ = kTestKey;
};

TEST_F(RegCommands, SetValuesStoreTheirTypesAndBytes) {
  const std::string deep = key_ + "\\Deep\\Path";
  Calls calls = Run("SetSzValue HKCU " + deep + " Text \"Hello World\"\r\n"  // makes the path
                    "SetSzValue hkcu " + key_ + " Empty \"\"\r\n"
                    "SetDwValue HKCU " + key_ + " Minus -1\r\n"
                    "SetDwValue HKCU " + key_ + " Number 305419896\r\n"
                    "SetBinValue HKCU " + key_ + " Bin 0A1b2C\r\n"
                    "SetBinValue HKCU " + key_ + " Odd ABC\r\n"
                    "SetBinValue HKCU " + key_ + " Nothing\r\n"
                    "SetSzValue HKCU " + key_ + " \"\" Default\r\n"    // the default value
                    "SetBinValue HKCU " + key_ + " Bad 0x12\r\n"
                    "SetDwValue HKCU " + key_ + " Bad\r\n"
                    "SetSzValue HKEY_CURRENT_USER " + key_ + " Bad x\r\n"
                    "SetDwValue HKCU " + key_ + " Number 7\r\n");       // replaces
  Calls expected = {"dialog Registry 7"};
  expected.insert(expected.end(), 8, "advance 1");
  expected.push_back(Refused(kSyntaxError, 10, 4));
  expected.push_back(Refused(kSyntaxError, 11, 4));
  expected.push_back(Refused(kEnumMismatch, 12, 1));
  expected.push_back("advance 1");
  EXPECT_EQ(calls, expected) << Lines(calls);

  HKEY hkcu = HKEY_CURRENT_USER;
  EXPECT_EQ(Read(hkcu, deep, "Text"), Value(REG_SZ, std::string("Hello World", 12)));
  EXPECT_EQ(Read(hkcu, key_, "Empty"), Value(REG_SZ, std::string(1, '\0')));
  EXPECT_EQ(Read(hkcu, key_, "Minus"), Dword(0xFFFFFFFF));
  EXPECT_EQ(Read(hkcu, key_, "Number"), Dword(7));
  EXPECT_EQ(Read(hkcu, key_, "Bin"), Value(REG_BINARY, "\x0A\x1B\x2C"));
  EXPECT_EQ(Read(hkcu, key_, "Odd"), Value(REG_BINARY, "\xAB\x0C"));
  EXPECT_EQ(Read(hkcu, key_, "Nothing"), Value(REG_BINARY, ""));
  EXPECT_EQ(Read(hkcu, key_, ""), Value(REG_SZ, std::string("Default", 8)));
  EXPECT_EQ(Read(hkcu, key_, "Bad"), kMissing);
  EXPECT_EQ(ValueCount(hkcu, key_), 7);
}

TEST_F(RegCommands, RootsAreChosenByNameIgnoringCase) {
  Calls calls = Run("SetDwValue HkLm " + key_ + " Machine 5\r\n"
                    "SetDwValue hkcu " + key_ + " User 6\r\n"
                    "CreateKey HKLM2 " + key_ + "\\Never\r\n");
  EXPECT_EQ(calls, (Calls{"dialog Registry 7", "advance 1", "advance 1",
                          Refused(kEnumMismatch, 4, 1)}))
      << Lines(calls);
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, key_, "Machine"), Dword(5));
  EXPECT_EQ(Read(HKEY_CURRENT_USER, key_, "Machine"), kMissing);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, key_, "User"), Dword(6));
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, key_, "User"), kMissing);
}

TEST_F(RegCommands, CreateKeyAndDeleteKey) {
  Store(key_, "Kept", REG_SZ, std::string("x", 2));
  Store(key_ + "\\Parent\\Child", "V", REG_DWORD, std::string(4, '\0'));
  // What this platform does with one deletion of a key that has subkeys.
  Store(key_ + "\\Probe\\Child", "V", REG_DWORD, std::string(4, '\0'));
  HKEY hkcu = HKEY_CURRENT_USER;
  const LONG with_subkeys = RegDeleteKeyA(hkcu, (key_ + "\\Probe").c_str());

  Calls calls = Run("CreateKey HKCU " + key_ + "\r\n"                 // exists: unchanged
                    "CreateKey HKCU " + key_ + "\\New\\Chain\r\n"
                    "DeleteKey HKCU " + key_ + "\\New\\Chain\r\n"
                    "DeleteKey HKCU " + key_ + "\\Missing\r\n"
                    "DeleteKey HKCU " + key_ + "\\Parent\r\n");
  Calls expected = {"dialog Registry 7", "advance 1", "advance 1", "advance 1",
                    Failure("DeleteKey", 5, ERROR_FILE_NOT_FOUND), "advance 1"};
  if (with_subkeys != ERROR_SUCCESS) expected.push_back(Failure("DeleteKey", 6, with_subkeys));
  expected.push_back("advance 1");
  EXPECT_EQ(calls, expected) << Lines(calls);
  EXPECT_EQ(Read(hkcu, key_, "Kept"), Value(REG_SZ, std::string("x", 2)));
  EXPECT_EQ(ValueCount(hkcu, key_), 1);
  EXPECT_TRUE(KeyExists(hkcu, key_ + "\\New"));
  EXPECT_FALSE(KeyExists(hkcu, key_ + "\\New\\Chain"));
  EXPECT_FALSE(KeyExists(hkcu, key_ + "\\Missing"));
  EXPECT_EQ(KeyExists(hkcu, key_ + "\\Parent"), with_subkeys != ERROR_SUCCESS);
}

TEST_F(RegCommands, IncValueAndDeleteValueNeedTheirKey) {
  Store(key_, "Forty", REG_DWORD, Dword(41).bytes);
  Store(key_, "Max", REG_DWORD, Dword(0xFFFFFFFF).bytes);
  Store(key_, "Long", REG_SZ, std::string("1234567", 8));
  Store(key_, "Short", REG_BINARY, "\x07");
  Store(key_, "Str", REG_SZ, std::string("abc", 4));
  Store(key_, "", REG_SZ, std::string("d", 2));
  Calls calls = Run("IncValue HKCU " + key_ + " Missing\r\n"
                    "IncValue HKCU " + key_ + " Forty\r\n"
                    "IncValue HKCU " + key_ + " Max\r\n"
                    "IncValue HKCU " + key_ + " Long\r\n"
                    "IncValue HKCU " + key_ + " Short\r\n"
                    "IncValue HKCU " + key_ + "\\Nowhere V\r\n"
                    "DeleteValue HKCU " + key_ + " Str\r\n"
                    "DeleteValue HKCU " + key_ + " Str\r\n"
                    "DeleteValue HKCU " + key_ + "\\Nowhere V\r\n"
                    "DeleteValue HKCU " + key_ + " \"\"\r\n"      // the default value
                    "DeleteValue HKCU " + key_ + " \"\"\r\n");
  Calls expected = {"dialog Registry 7", "advance 1", "advance 1", "advance 1", "advance 1",
                    "advance 1",
                    Failure("IncValue", 7, ERROR_FILE_NOT_FOUND), "advance 1",
                    "advance 1",
                    Failure("DeleteValue", 9, ERROR_FILE_NOT_FOUND), "advance 1",
                    Failure("DeleteValue", 10, ERROR_FILE_NOT_FOUND), "advance 1",
                    "advance 1",
                    Failure("DeleteValue", 12, ERROR_FILE_NOT_FOUND), "advance 1"};
  EXPECT_EQ(calls, expected) << Lines(calls);
  HKEY hkcu = HKEY_CURRENT_USER;
  EXPECT_EQ(Read(hkcu, key_, "Missing"), Dword(1));
  EXPECT_EQ(Read(hkcu, key_, "Forty"), Dword(42));
  EXPECT_EQ(Read(hkcu, key_, "Max"), Dword(0));
  EXPECT_EQ(Read(hkcu, key_, "Long"), Dword(1));
  EXPECT_EQ(Read(hkcu, key_, "Short"), Dword(8));
  EXPECT_FALSE(KeyExists(hkcu, key_ + "\\Nowhere"));
  EXPECT_EQ(Read(hkcu, key_, "Str"), kMissing);
  EXPECT_EQ(Read(hkcu, key_, ""), kMissing);

  // The default value counts up like any other.
  calls = Run("IncValue HKCU " + key_ + " \"\"\r\nIncValue HKCU " + key_ + " \"\"\r\n");
  EXPECT_EQ(calls, (Calls{"dialog Registry 7", "advance 1", "advance 1"})) << Lines(calls);
  EXPECT_EQ(Read(hkcu, key_, ""), Dword(2));
}

}  // namespace
}  // namespace qxi
