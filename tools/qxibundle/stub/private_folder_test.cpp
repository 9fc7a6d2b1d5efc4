// The private folder under Wine: new each time, closed to everyone but the user and the
// system, and removed at the end with what is in use left for the restart.
#include "private_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "engine/unique_handle.h"

namespace qxistub {
namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<BYTE> TokenUser() {
  HANDLE token = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
  qxi::UniqueKernelHandle owner(token);
  DWORD size = 0;
  GetTokenInformation(token, ::TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  GetTokenInformation(token, ::TokenUser, user.data(), size, &size);
  return user;
}

TEST(PrivateFolder, IsNewUnderTheTemporaryFolderAndOnlyTheUsersAndTheSystems) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  PrivateFolder first;
  PrivateFolder second;
  EXPECT_NE(first.path(), second.path());
  const std::string temp_folder = std::string(temp).substr(0, std::string(temp).size() - 1);
  EXPECT_TRUE(std::regex_match(first.path(), std::regex(std::regex_replace(
      temp_folder, std::regex(R"([\\.()])"), R"(\$&)") + R"(\\QXI[0-9A-F]{8})")))
      << first.path();
  EXPECT_TRUE(Exists(first.path()));

  DWORD size = 0;
  GetFileSecurityA(first.path().c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::vector<BYTE> descriptor(size);
  ASSERT_TRUE(GetFileSecurityA(first.path().c_str(), DACL_SECURITY_INFORMATION, descriptor.data(),
                               size, &size)) << GetLastError();
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted));
  ASSERT_TRUE(present && acl != nullptr);
  ASSERT_EQ(acl->AceCount, 2);

  // Exactly the user and the system, in either order (Wine keeps its own order, and does
  // not report the list's protection from inheritance): a folder made with the defaults
  // would also let everyone read.
  const std::vector<BYTE> user = TokenUser();
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID system = nullptr;
  AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system);
  const PSID wanted[2] = {reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, system};
  bool found[2] = {};
  for (DWORD i = 0; i < 2; ++i) {
    void* ace = nullptr;
    ASSERT_TRUE(GetAce(acl, i, &ace));
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(allowed->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    EXPECT_EQ(allowed->Mask, static_cast<DWORD>(FILE_ALL_ACCESS));
    for (int k = 0; k < 2; ++k) found[k] = found[k] || EqualSid(&allowed->SidStart, wanted[k]);
  }
  EXPECT_TRUE(found[0] && found[1]);
  FreeSid(system);
}

TEST(PrivateFolder, RemovesEverythingAndLeavesWhatIsInUseForTheRestart) {
  PrivateFolder folder;
  const std::string sub = folder.path() + "\\setup\\docs";
  CreateDirectoryA((folder.path() + "\\setup").c_str(), nullptr);
  CreateDirectoryA(sub.c_str(), nullptr);
  for (const char* name : {"\\a.txt", "\\b.txt"}) {
    qxi::UniqueFileHandle file(CreateFileA((sub + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
  }
  SetFileAttributesA((sub + "\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  {
    // Held with no sharing, as a program started from the folder would hold its own file.
    qxi::UniqueFileHandle held(CreateFileA((sub + "\\a.txt").c_str(), GENERIC_READ, 0, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    // The file, its two folders and the private folder itself wait for the restart.
    EXPECT_EQ(folder.Remove(), 4);
  }
  EXPECT_FALSE(Exists(sub + "\\b.txt"));
  EXPECT_TRUE(Exists(sub + "\\a.txt"));

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                          0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  char value[8192] = {};
  DWORD size = sizeof value;
  ASSERT_EQ(RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  // Pairs of texts, source then destination; an empty destination is a deletion.
  std::vector<std::string> texts;
  for (DWORD at = 0; at < size;) {
    texts.emplace_back(value + at);
    at += static_cast<DWORD>(texts.back().size()) + 1;
  }
  std::vector<std::string> pending;
  for (size_t i = 0; i + 1 < texts.size(); i += 2) {
    if (texts[i + 1].empty()) pending.push_back(texts[i]);
  }
  const std::vector<std::string> expected = {"\\??\\" + sub + "\\a.txt", "\\??\\" + sub,
                                             "\\??\\" + folder.path() + "\\setup",
                                             "\\??\\" + folder.path()};
  EXPECT_EQ(pending, expected);
}

}  // namespace
}  // namespace qxistub
