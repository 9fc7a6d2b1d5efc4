// Access: a protected list (nothing inherited from the temporary folder, which on some
// systems lets every user create files in folders below it) that grants full access to the
// running user and to the system, for the folder and everything made in it. The functions it
// needs are looked up at run time: where a system lacks them the folder keeps the temporary
// folder's own access, which is the user's alone on every system that has access lists.
#include "private_folder.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "engine/unique_handle.h"
#include "stub_files.h"

namespace qxistub {
namespace {

using AddAceEx = BOOL(WINAPI*)(PACL, DWORD, DWORD, DWORD, PSID);
using SetControl = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, SECURITY_DESCRIPTOR_CONTROL,
                                 SECURITY_DESCRIPTOR_CONTROL);

// The security of the new folder; empty (the defaults apply) when it cannot be built.
class FolderSecurity {
 public:
  FolderSecurity() {
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    auto add_ace = advapi ? reinterpret_cast<AddAceEx>(reinterpret_cast<void*>(
                                GetProcAddress(advapi, "AddAccessAllowedAceEx")))
                          : nullptr;
    auto set_control = advapi ? reinterpret_cast<SetControl>(reinterpret_cast<void*>(
                                    GetProcAddress(advapi, "SetSecurityDescriptorControl")))
                              : nullptr;
    HANDLE token_handle = nullptr;
    if (!add_ace || !set_control ||
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token_handle)) {
      return;
    }
    qxi::UniqueKernelHandle token(token_handle);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    user_.resize(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user_.data(), size, &size)) return;
    PSID user = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID system = nullptr;
    if (!AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system)) {
      return;
    }
    std::unique_ptr<void, PVOID(WINAPI*)(PSID)> system_owner(system, FreeSid);
    const DWORD acl_size = sizeof(ACL) + 2 * sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(user) +
                           GetLengthSid(system);
    acl_.resize(acl_size);
    PACL acl = reinterpret_cast<PACL>(acl_.data());
    const DWORD inherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    if (!InitializeAcl(acl, acl_size, ACL_REVISION) ||
        !add_ace(acl, ACL_REVISION, inherit, FILE_ALL_ACCESS, user) ||
        !add_ace(acl, ACL_REVISION, inherit, FILE_ALL_ACCESS, system) ||
        !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) ||
        !set_control(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
      return;
    }
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
    ready_ = true;
  }
  /// For CreateDirectoryA; null when the defaults apply.
  SECURITY_ATTRIBUTES* attributes() { return ready_ ? &attributes_ : nullptr; }

 private:
  std::vector<BYTE> user_;
  std::vector<BYTE> acl_;
  SECURITY_DESCRIPTOR descriptor_ = {};
  SECURITY_ATTRIBUTES attributes_ = {};
  bool ready_ = false;
};

// Names the folder: hard to guess, though safety does not rest on it (a folder that exists
// is never taken).
std::string RandomName(unsigned attempt) {
  LARGE_INTEGER counter = {};
  QueryPerformanceCounter(&counter);
  unsigned long long mix = static_cast<unsigned long long>(counter.QuadPart) * 6364136223846793005ull +
                           (static_cast<unsigned long long>(GetCurrentProcessId()) << 20) +
                           GetTickCount() + attempt * 0x9E3779B97F4A7C15ull;
  mix ^= mix >> 29;
  char name[24];
  std::snprintf(name, sizeof name, "QXI%08lX", static_cast<unsigned long>((mix ^ (mix >> 32)) & 0xFFFFFFFF));
  return name;
}

void DeleteLater(const std::string& path, int& left) {
  if (MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) ++left;
}

// Deletes the tree below and including `folder`, depth first.
void RemoveTree(const std::string& folder, int& left) {
  WIN32_FIND_DATAA found;
  qxi::UniqueFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (find) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path, left);
        continue;
      }
      if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      }
      if (!DeleteFileA(path.c_str())) DeleteLater(path, left);
    } while (FindNextFileA(find.get(), &found));
  }
  find.reset();
  // A folder that still holds a file waiting for the restart goes after it.
  if (!RemoveDirectoryA(folder.c_str())) DeleteLater(folder, left);
}

}  // namespace

PrivateFolder::PrivateFolder() {
  char temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length > MAX_PATH) {
    throw StubError(SystemFailure("cannot find the temporary folder", GetLastError()));
  }
  std::string base(temp, length);
  if (base.back() == '\\') base.pop_back();
  FolderSecurity security;
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::string path = base + "\\" + RandomName(attempt);
    if (CreateDirectoryA(path.c_str(), security.attributes())) {
      path_ = path;
      return;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS) {
      throw StubError(SystemFailure("cannot make a folder in " + base, error));
    }
  }
  throw StubError("cannot make a new folder in " + base);
}

PrivateFolder::~PrivateFolder() {
  if (!removed_) Remove();
}

int PrivateFolder::Remove() {
  removed_ = true;
  int left = 0;
  RemoveTree(path_, left);
  return left;
}

}  // namespace qxistub
