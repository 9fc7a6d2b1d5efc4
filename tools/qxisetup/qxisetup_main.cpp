// qxisetup: the window host. Loads QXI.dll by name (so that the program imports system DLLs
// only and can say in a message box why the engine is missing), shows the setup window, runs
// the script in its own folder on a worker thread and returns 0 when nothing was logged, 1
// otherwise.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "engine_library.h"
#include "engine_worker.h"
#include "script_folder.h"
#include "setup_command_line.h"
#include "setup_window.h"

namespace {

constexpr int kExitUsage = 2;
constexpr char kProgramTitle[] = "QXI Setup";

int Fail(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), kProgramTitle, MB_OK | MB_ICONERROR);
  return kExitUsage;
}

// The usage on standard output when the program has one (started from a shell with its
// output redirected, or under a console-attached runner); a windowed program started from
// Explorer has none, and shows it in a message box instead.
int ShowUsage() {
  const std::string text = qxisetup::SetupUsageText();
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  if (out == nullptr || out == INVALID_HANDLE_VALUE ||
      !WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
    MessageBoxA(nullptr, text.c_str(), kProgramTitle, MB_OK | MB_ICONINFORMATION);
  }
  return 0;
}

// The script's file name, for the window title.
std::string FileNameOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  qxisetup::SetupOptions options;
  std::string error;
  if (!qxisetup::ParseSetupCommandLine(argc, argv, options, error)) {
    return Fail(error + "\n\n" + qxisetup::SetupUsageText());
  }
  if (options.help) return ShowUsage();
  qxirun::EngineLibrary engine;
  if (!qxirun::LoadEngineLibrary("QXI.dll", engine, error)) return Fail(error);
  // The window title keeps the name as given; the engine gets the path that still names the
  // script from its own folder.
  const std::string script =
      options.keep_cwd ? options.script : qxirun::EnterScriptFolder(options.script);

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  qxisetup::SetupWindow window;
  if (!window.Create(GetModuleHandleA(nullptr),
                     std::string(kProgramTitle) + " - " + FileNameOf(options.script),
                     options.auto_close)) {
    return Fail("cannot create the setup window (error " + std::to_string(GetLastError()) + ")");
  }
  qxisetup::EngineWorker worker;
  if (!worker.Start(engine, window.handle(), script, options.section)) {
    return Fail("cannot start the installation thread (error " + std::to_string(GetLastError()) +
                ")");
  }

  window.RunUntilClosed();
  // The window closes only after the run ended; the thread is finishing or gone.
  worker.Join();
  return window.exit_code();
}
