#include "system/cshortcut.h"

#include "system/com_for_run.h"

namespace qxi {
namespace {

/// Writes one diagnostic line for a call that returned a negative result.
void Diagnose(HRESULT result, const char* message) {
  if (FAILED(result)) OutputDebugStringA(message);
}

}  // namespace

CShortcut::CShortcut() {
  if (FAILED(ComForRun())) {
    OutputDebugStringA("CShortcut: CoInitialize failed\n");
    return;
  }
  HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkA, shell_link_.put());
  if (FAILED(created)) {
    OutputDebugStringA("CShortcut: CoCreateInstance failed\n");
    return;
  }
  Diagnose(shell_link_->QueryInterface(IID_IPersistFile, persist_file_.put()),
           "CShortcut: QueryInterface failed\n");
}

bool CShortcut::SetPath(const std::string& path) {
  if (!shell_link_) return false;
  Diagnose(shell_link_->SetPath(path.c_str()), "CShortcut::SetPath failed\n");
  return true;
}

bool CShortcut::SetArguments(const std::string& arguments) {
  if (!shell_link_) return false;
  Diagnose(shell_link_->SetArguments(arguments.c_str()), "CShortcut::SetArguments failed\n");
  return true;
}

bool CShortcut::SetWorkingDirectory(const std::string& directory) {
  if (!shell_link_) return false;
  Diagnose(shell_link_->SetWorkingDirectory(directory.c_str()),
           "CShortcut::SetWorkingDirectory failed\n");
  return true;
}

bool CShortcut::SetIconLocation(const std::string& file, int index) {
  if (!shell_link_) return false;
  Diagnose(shell_link_->SetIconLocation(file.c_str(), index),
           "CShortcut::SetIconLocation failed\n");
  return true;
}

bool CShortcut::Save(const std::string& path) {
  if (!shell_link_ || !persist_file_) return false;
  // A path that does not fit the buffer converts to nothing: saving under a truncated or
  // garbage name would write the link somewhere else, so it is a failed save.
  wchar_t wide_path[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide_path, MAX_PATH) == 0 ||
      FAILED(persist_file_->Save(wide_path, TRUE))) {
    OutputDebugStringA("CShortcut: Save failed\n");
    return false;
  }
  return true;
}

}  // namespace qxi
