// The actions of the Windows build, by group and command name. A command without an entry
// fails with ERROR_CALL_NOT_IMPLEMENTED.
#include "engine/command_actions.h"
#include "files/copy_one_file.h"
#include "ini/ini_commands.h"
#include "registry/priorities.h"
#include "system/create_shortcut.h"
#include "system/misc_commands.h"

namespace qxi {
namespace {

const ActionEntry kSystemActions[] = {
    {"INI", "CreateSection", CreateIniSection},
    {"INI", "DeleteSection", DeleteIniSection},
    {"INI", "DeleteKey", DeleteIniKey},
    {"INI", "AppendLine", AppendIniLine},
    {"INI", "SetKey", SetIniKey},
    {"INI", "AppendKey", AppendIniKey},
    {"Reg", "RegisterPriority", RegisterPriority},
    {"FileOps", "CreateShortcut", CreateShortcut},
    {"FileCopy", "CopyFile", CopyFileCommand},
    {"Misc", "MessageBox", ShowMessageBox},
    {"Misc", "RunApp", RunApp},
    {"Misc", "Reboot", Reboot},
    {"Misc", "Logoff", Logoff},
    {"Misc", "Shutdown", Shutdown},
};

}  // namespace

CommandAction FindSystemAction(std::string_view group, std::string_view name) {
  return FindAction(kSystemActions, sizeof kSystemActions / sizeof kSystemActions[0], group,
                    name);
}

}  // namespace qxi
