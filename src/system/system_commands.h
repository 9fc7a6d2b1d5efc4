// The commands that talk to the user or to the user's session: of the group "Misc", a message
// box, starting a program, and the requests to restart, log off or shut down; of "FileOps",
// CreateShortcut. A program that cannot be started and a refused request to restart, log off
// or shut down are reported; the others complete whatever the system answered.
#pragma once

#include "engine/command_row.h"

namespace qxi {

namespace system_commands {

// MessageBox's line.
inline constexpr PathAt kBody{0};
inline constexpr PathAt kTitle{1};
// RunApp's line.
inline constexpr PathAt kCommandLine{0};
inline constexpr PathAt kDirectory{1};
inline constexpr IntegerAt kTimeout{2};
// CreateShortcut's line.
inline constexpr PathAt kLinkFile{0};
inline constexpr PathAt kTarget{1};
inline constexpr PathAt kArguments{2};
inline constexpr PathAt kWorkDirectory{3};
inline constexpr PathAt kIconFile{4};
inline constexpr IntegerAt kIconIndex{5};

/// "MessageBox": shows kBody with the caption kTitle, an information icon and an OK button,
/// and returns when the user closes it; or hands both texts to the host's replacement.
void ShowMessageBox(const ParamList& params);

/// "RunApp": starts kCommandLine in kDirectory (empty: the run's own current directory);
/// waits for its end at most kTimeout milliseconds (0: not at all, -1: without limit). Raises
/// QXErr kRunTimeError with the system's error when the program cannot be started; its exit
/// code is not looked at.
void RunApp(const ParamList& params);

/// "Reboot", "Logoff", "Shutdown": ask Windows to restart, log off or shut down (with the
/// shutdown privilege enabled for the first and last). A refusal raises QXErr kRunTimeError
/// with the system's error. A host's replacement receives the request instead.
void Reboot(const ParamList& params);
void Logoff(const ParamList& params);
void Shutdown(const ParamList& params);

/// "CreateShortcut": creates the folder of kLinkFile (and those above it) with normal
/// attributes, then writes there a link to kTarget with kArguments, and with kWorkDirectory
/// and kIconFile/kIconIndex when those texts are not empty. Never raises: failures show only
/// on the debugger output.
void CreateShortcut(const ParamList& params);

inline constexpr CommandRow kRows[] = {
    {"Misc", "Reboot", {}, QXI_ACTION(Reboot)},
    {"Misc", "RunApp",
     {kCommandLine("Command line"), kDirectory("Current directory"), kTimeout("Timeout (ms)")},
     QXI_ACTION(RunApp)},
    {"Misc", "Shutdown", {}, QXI_ACTION(Shutdown)},
    {"Misc", "MessageBox", {kBody("Message body"), kTitle("Message title")},
     QXI_ACTION(ShowMessageBox)},
    {"Misc", "Logoff", {}, QXI_ACTION(Logoff)},
    {"FileOps", "CreateShortcut",
     {kLinkFile("Shortcut file name"), kTarget("Destination path"),
      kArguments("Command Arguments"), kWorkDirectory("Work directory"),
      kIconFile("Icon location"), kIconIndex("Icon index")},
     QXI_ACTION(CreateShortcut)},
};

}  // namespace system_commands
}  // namespace qxi
