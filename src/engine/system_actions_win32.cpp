// The actions of the Windows build, by group and command name: every command of the table
// has one.
#include "engine/command_actions.h"
#include "archive/extract_qxz.h"
#include "files/copy_one_file.h"
#include "files/del_dir.h"
#include "files/file_commands.h"
#include "ini/ini_commands.h"
#include "registry/existing_key_commands.h"
#include "registry/key_commands.h"
#include "registry/priorities.h"
#include "registry/set_value_commands.h"
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
    {"Reg", "CreateKey", CreateKey},
    {"Reg", "DeleteKey", DeleteKey},
    {"Reg", "DeleteValue", DeleteValue},
    {"Reg", "IncValue", IncValue},
    {"Reg", "SetSzValue", SetSzValue},
    {"Reg", "SetDwValue", SetDwValue},
    {"Reg", "SetBinValue", SetBinValue},
    {"Reg", "RegisterPriority", RegisterPriority},
    {"FileOps", "MakeDir", MakeDir},
    {"FileOps", "DelFile", DelFile},
    {"FileOps", "DelDir", DelDir},
    {"FileOps", "CreateFile", CreateEmptyFile},
    {"FileOps", "RenameFile", RenameFile},
    {"FileOps", "MoveFile", MoveFileReplacing},
    {"FileOps", "CreateShortcut", CreateShortcut},
    {"FileCopy", "CopyFile", CopyFileCommand},
    {"Misc", "MessageBox", ShowMessageBox},
    {"Misc", "RunApp", RunApp},
    {"Misc", "Reboot", Reboot},
    {"Misc", "Logoff", Logoff},
    {"Misc", "Shutdown", Shutdown},
    {"FileCopy", "ExtractQXZ", ExtractQXZ},
};

}  // namespace

CommandAction FindSystemAction(std::string_view group, std::string_view name) {
  return FindAction(kSystemActions, sizeof kSystemActions / sizeof kSystemActions[0], group,
                    name);
}

}  // namespace qxi
