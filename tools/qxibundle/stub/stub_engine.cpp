// The loader flags: where the system has SetDefaultDllDirectories (Windows 8, and 7 with its
// update), every later load searches the system folder only and QXI.dll's own dependencies
// come from its folder or the system folder; elsewhere the current folder is taken out of
// the search order (SetDllDirectoryA with an empty text) and the altered search path makes
// QXI.dll's folder take the program's folder's place. QXI.dll itself imports system DLLs
// only.
#include "stub_engine.h"

#include <windows.h>

#include <vector>

#include "stub_files.h"

namespace qxistub {
namespace {

using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
using SetDirectory = BOOL(WINAPI*)(LPCSTR);

// LOAD_LIBRARY_SEARCH_* values, which older headers lack.
constexpr DWORD kSearchDllLoadDir = 0x00000100;
constexpr DWORD kSearchSystem32 = 0x00000800;

bool g_default_directories = false;

template <typename Fn>
Fn Kernel32Function(const char* name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)))
                : nullptr;
}

template <typename Fn>
void FindExtra(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (fn == nullptr) throw StubError(std::string("QXI.dll has no export ") + name);
}

}  // namespace

void HardenDllSearch() {
  if (auto set_default = Kernel32Function<SetDefaultDirectories>("SetDefaultDllDirectories")) {
    g_default_directories = set_default(kSearchSystem32) != FALSE;
  }
  if (auto set_directory = Kernel32Function<SetDirectory>("SetDllDirectoryA")) set_directory("");
}

void LoadStubEngine(const std::string& path, StubEngine& engine) {
  std::string error;
  const DWORD flags = g_default_directories ? kSearchDllLoadDir | kSearchSystem32
                                            : LOAD_WITH_ALTERED_SEARCH_PATH;
  if (!qxirun::LoadEngineLibrary(path.c_str(), engine.library, error, flags)) {
    throw StubError(error);
  }
  HMODULE module = engine.library.module.get();
  FindExtra(module, "RegisterMessageBoxFunction", engine.register_message_box);
  FindExtra(module, "RegisterExitWindowsFunction", engine.register_exit_windows);
  FindExtra(module, "ExpandFolderMacros", engine.expand_folder_macros);
}

std::string ExpandWithEngine(const StubEngine& engine, const std::string& text) {
  const int length = engine.expand_folder_macros(text.c_str(), nullptr, 0);
  if (length < 0) throw StubError("the folder " + text + " names a folder macro QXI.dll does not know");
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  engine.expand_folder_macros(text.c_str(), buffer.data(), length + 1);
  return std::string(buffer.data(), static_cast<size_t>(length));
}

}  // namespace qxistub
