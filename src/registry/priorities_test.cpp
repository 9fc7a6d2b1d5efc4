// The priorities store in the real registry. The test runs in a Wine prefix of its own, so
// it may remove the whole store key to start from nothing.
#include "registry/priorities.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/priority_store.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::Lines;
using qxi_test::PriorityStoreExists;
using qxi_test::RemovePriorityStore;
using qxi_test::RunText;
using qxi_test::StoredPriority;
using qxi_test::StorePriorityText;
using qxi_test::TempDir;
using Calls = std::vector<std::string>;

class Priorities : public ::testing::Test {
 protected:
  void SetUp() override { RemovePriorityStore(); }
};

TEST_F(Priorities, ZeroNoStoreAndTheOrderOfNumbers) {
  const std::string path = "C:\\App\\main.exe";
  DWORD type;
  // No store: everything may be written; priority 0 creates nothing.
  EXPECT_TRUE(CheckPriority(path, 7));
  UpdatePriority(path, 0);
  EXPECT_FALSE(PriorityStoreExists());
  // The first nonzero priority creates the key and its value.
  UpdatePriority(path, 5);
  EXPECT_EQ(StoredPriority(path, &type), 5u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_TRUE(CheckPriority(path, 0));
  EXPECT_FALSE(CheckPriority(path, 5));
  EXPECT_FALSE(CheckPriority(path, 4));
  EXPECT_TRUE(CheckPriority(path, 6));
  UpdatePriority(path, 4);
  EXPECT_EQ(StoredPriority(path, &type), 5u);
  UpdatePriority(path, 6);
  EXPECT_EQ(StoredPriority(path, &type), 6u);
  // Unsigned: 0xFFFFFFFF outranks everything but itself.
  UpdatePriority(path, 0xFFFFFFFFu);
  EXPECT_EQ(StoredPriority(path, &type), 0xFFFFFFFFu);
  EXPECT_FALSE(CheckPriority(path, 0xFFFFFFFFu));
  EXPECT_FALSE(CheckPriority(path, 0x80000000u));
}

TEST_F(Priorities, OtherTypesCountAsNothingAndNamesAreTakenAsWritten) {
  const std::string path = "C:\\App\\readme.txt";
  DWORD type;
  StorePriorityText(path, "9");
  EXPECT_TRUE(CheckPriority(path, 1));
  UpdatePriority(path, 1);
  EXPECT_EQ(StoredPriority(path, &type), 1u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  // Letter case is the registry's own matter; a relative part makes another entry.
  EXPECT_FALSE(CheckPriority("c:\\APP\\README.TXT", 1));
  EXPECT_TRUE(CheckPriority("C:\\App\\..\\App\\readme.txt", 1));
}

TEST_F(Priorities, RegisterPriorityCommand) {
  TempDir dir;
  const std::string path = dir.path() + "\\lib.dll";
  Calls calls = RunText(dir,
                        "[Main]\nReg Store\n[Store]\nStore 4\n"
                        "RegisterPriority \"" + path + "\" 0\n"
                        "RegisterPriority \"" + path + "\" 3\n"
                        "RegisterPriority \"" + path + "\" 2\n"
                        "RegisterPriority $WINDIR$\\sys.dll -1\n",
                        "Main");
  EXPECT_EQ(calls, (Calls{"dialog Store 4", "advance 1", "advance 1", "advance 1", "advance 1"}))
      << Lines(calls);
  DWORD type;
  EXPECT_EQ(StoredPriority(path, &type), 3u);
  char windir[MAX_PATH];
  ASSERT_NE(GetWindowsDirectoryA(windir, MAX_PATH), 0u);
  EXPECT_EQ(StoredPriority(std::string(windir) + "\\sys.dll", &type), 0xFFFFFFFFu);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
}

}  // namespace
}  // namespace qxi
