#include "engine/command_table.h"

#include "registry/root_key_param.h"

namespace qxi {
namespace {

constexpr ParamKind P = ParamKind::kPath;
constexpr ParamKind I = ParamKind::kInteger;
constexpr ParamKind A = ParamKind::kAttributes;
constexpr ParamKind R = ParamKind::kRootKey;
constexpr ParamKind B = ParamKind::kBytes;

}  // namespace

const char* const kGroupNames[5] = {"Misc", "INI", "FileOps", "Reg", "FileCopy"};

const CommandDef kCommandTable[] = {
    {"FileCopy", "CopyFile", 5,
     {{P, "Source dir"}, {P, "Destination dir"}, {P, "File name"}, {A, "Attributes"},
      {I, "Priority"}},
     Progress::kOwn},
    {"FileCopy", "ExtractQXZ", 2, {{P, "Source path"}, {P, "Destination dir"}}, Progress::kOwn},

    {"FileOps", "MakeDir", 2, {{P, "Directory name"}, {A, "Directory attribs"}},
     Progress::kPerLine},
    {"FileOps", "DelFile", 1, {{P, "File name"}}, Progress::kPerLine},
    {"FileOps", "DelDir", 1, {{P, "Directory name"}}, Progress::kPerLine},
    {"FileOps", "CreateFile", 2, {{P, "File name"}, {A, "File attributes"}}, Progress::kPerLine},
    {"FileOps", "RenameFile", 2, {{P, "Source file name"}, {P, "Destination file name"}},
     Progress::kPerLine},
    {"FileOps", "MoveFile", 2, {{P, "Source file name"}, {P, "Destination file name"}},
     Progress::kPerLine},
    {"FileOps", "CreateShortcut", 6,
     {{P, "Shortcut file name"}, {P, "Destination path"}, {P, "Command Arguments"},
      {P, "Work directory"}, {P, "Icon location"}, {I, "Icon index"}},
     Progress::kPerLine},

    {"INI", "CreateSection", 2, {{P, "INI File"}, {P, "INI Section"}}, Progress::kPerLine},
    {"INI", "DeleteSection", 2, {{P, "INI File"}, {P, "INI Section"}}, Progress::kPerLine},
    {"INI", "DeleteKey", 3, {{P, "INI File"}, {P, "INI Section"}, {P, "Key name"}},
     Progress::kPerLine},
    {"INI", "AppendLine", 3, {{P, "INI File"}, {P, "INI Section"}, {P, "Line to append"}},
     Progress::kPerLine},
    {"INI", "SetKey", 4, {{P, "INI File"}, {P, "INI Section"}, {P, "Key"}, {P, "Value"}},
     Progress::kPerLine},
    {"INI", "AppendKey", 4, {{P, "INI File"}, {P, "INI Section"}, {P, "Key"}, {P, "Value"}},
     Progress::kPerLine},

    {"Misc", "Reboot", 0, {}, Progress::kPerLine},
    {"Misc", "NOP", 0, {}, Progress::kPerLine},
    {"Misc", "RunApp", 3, {{P, "Command line"}, {P, "Current directory"}, {I, "Timeout (ms)"}},
     Progress::kPerLine},
    {"Misc", "Shutdown", 0, {}, Progress::kPerLine},
    {"Misc", "MessageBox", 2, {{P, "Message body"}, {P, "Message title"}}, Progress::kPerLine},
    {"Misc", "Logoff", 0, {}, Progress::kPerLine},
    {"Misc", "Include", 2, {{P, "Script file"}, {P, "Master Section"}}, Progress::kPerLine},

    {"Reg", "CreateKey", 2, {{R, "Root Key"}, {P, "Key"}}, Progress::kPerLine},
    {"Reg", "DeleteKey", 2, {{R, "Root Key"}, {P, "Key"}}, Progress::kPerLine},
    {"Reg", "DeleteValue", 3, {{R, "Root Key"}, {P, "Key"}, {P, "Value"}}, Progress::kPerLine},
    {"Reg", "IncValue", 3, {{R, "Root Key"}, {P, "Key"}, {P, "Value"}}, Progress::kPerLine},
    {"Reg", "SetSzValue", 4, {{R, "Root Key"}, {P, "Key"}, {P, "Value"}, {P, "String"}},
     Progress::kPerLine},
    {"Reg", "SetDwValue", 4, {{R, "Root Key"}, {P, "Key"}, {P, "Value"}, {I, "Data"}},
     Progress::kPerLine},
    {"Reg", "SetBinValue", 4, {{R, "Root Key"}, {P, "Key"}, {P, "Value"}, {B, "Data"}},
     Progress::kPerLine},
    {"Reg", "RegisterPriority", 2, {{P, "Path"}, {I, "Priority"}}, Progress::kPerLine},
};

const size_t kCommandCount = sizeof kCommandTable / sizeof kCommandTable[0];

std::unique_ptr<ParamSpec> MakeParam(const ParamDef& def) {
  switch (def.kind) {
    case ParamKind::kPath: return std::make_unique<PathParam>(def.display_name);
    case ParamKind::kInteger: return std::make_unique<IntegerParam>(def.display_name);
    case ParamKind::kAttributes: return std::make_unique<AttributesParam>(def.display_name);
    case ParamKind::kRootKey: return std::make_unique<RootKeyParam>(def.display_name);
    case ParamKind::kBytes: return std::make_unique<BytesParam>(def.display_name);
  }
  return nullptr;
}

}  // namespace qxi
