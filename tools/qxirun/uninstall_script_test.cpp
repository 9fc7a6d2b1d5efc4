// The uninstall script made from a journal of two runs: every kind of record undone in reverse
// order, each file written with a priority undone with it, deletions of what the journal made
// passed over, and the script's exact text.
#include "uninstall_script.h"

#include <gtest/gtest.h>

#include <string>

namespace qxirun {
namespace {

// Journal lines end in CR LF as qxirun writes them; fields are separated by tabs.
std::string Journal(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

// The script's lines after its opening comment, with LF line ends.
std::string Body(const std::string& script) {
  std::string plain;
  for (char c : script) {
    if (c != '\r') plain += c;
  }
  return plain.substr(plain.find("\n[Uninstall]") + 1);
}

TEST(UninstallScript, UndoesTwoRunsInReverseOrder) {
  const std::string journal = Journal({
      "Run\tZ:\\\\medium\\\\setup.qxs\tSetup",
      "FolderMake\tC:\\\\App",
      "FileWrite\tC:\\\\App\\\\app.exe\tabsent",
      "KeyMake\tHKLM\tSoftware\\\\Brenvale",
      "PrioritySet\tC:\\\\App\\\\app.exe\t5\t0",
      "FileWrite\tC:\\\\App\\\\shared.dll\tpresent",
      "PrioritySet\tC:\\\\App\\\\shared.dll\t4294967295\t0",
      "FileWrite\tC:\\\\Win\\\\old.dll\tpresent",
      "RestartReplace\tC:\\\\Win\\\\sys.dll\tC:\\\\T\\\\QXI1.TMP\tpresent",
      "FileWrite\tC:\\\\App\\\\tmp.log\tabsent",
      "FileDelete\tC:\\\\App\\\\tmp.log",
      "FileDelete\tC:\\\\Users\\\\notes.txt",
      "FileMove\tC:\\\\App\\\\a.txt\tC:\\\\App\\\\b.txt\tpresent",
      "FolderAttributes\tC:\\\\Data\tHR\t",
      "KeyMake\tHKCU\tSoftware\\\\Ex",
      "ValueSet\tHKCU\tSoftware\\\\Ex\tName\tREG_SZ\tnew\tREG_SZ\t50$ \"off\"\\tx",
      "ValueSet\tHKCU\tSoftware\\\\Ex\tCount\tREG_DWORD\t2\tREG_DWORD\t4294967295",
      "ValueSet\tHKCU\tSoftware\\\\Ex\tBin\tREG_BINARY\t01\tREG_BINARY\t",
      "ValueSet\tHKCU\tSoftware\\\\Ex\tPath\tREG_SZ\tx\tREG_EXPAND_SZ\t%TEMP%",
      "ValueSet\tHKCU\tSoftware\\\\Ex\t\tREG_SZ\tx\tabsent\t",
      "ValueDelete\tHKCU\tSoftware\\\\Ex\tOld\tREG_BINARY\tC0FFEE",
      "IniFileMake\tC:\\\\Win\\\\app.ini",
      "IniSectionMake\tC:\\\\Win\\\\app.ini\tMain",
      "IniKeySet\tC:\\\\Win\\\\app.ini\tMain\tKey\tv\tabsent\t",
      "IniKeySet\tC:\\\\Win\\\\win.ini\tDesk\tPaper\tv\tpresent\t\"old\"",
      "IniLineAdd\tC:\\\\Win\\\\sys.ini\tDrv\tx=1",
      "IniKeySet\tC:\\\\Win\\\\sys.ini\tDrv\tK\tv\tpresent\ttwo\\nlines",
      "IniSectionDelete\tC:\\\\Win\\\\sys.ini\tGone\ta=1\tb",
      "RunApp\t\"C:\\\\App\\\\app.exe\" /first\tC:\\\\App",
      "Frobnicate\tC:\\\\x",
      "Run\tZ:\\\\medium\\\\setup.qxs\tSetup",
      "PrioritySet\tC:\\\\App\\\\lib.dll\t7\t3",
      "FileWrite\tC:\\\\App\\\\bad\\",
      "KeyDelete\tHKCU\tSoftware\\\\Ex",
      "ExitWindows\tReboot",
  });
  const UninstallScript script = MakeUninstallScript(journal, "Z:\\j.txt");
  EXPECT_EQ(script.problems,
            (std::vector<std::string>{"line 33: a backslash that begins no escape"}));
  EXPECT_NE(script.text.find(";   Z:\\j.txt\r\n"), std::string::npos);
  EXPECT_EQ(Body(script.text), R"([Uninstall]
Reg Registry1
INI IniFiles2
Reg Registry3
FileOps Files4
Reg Registry5
FileOps Files6
Reg Registry7
FileOps Files8

[Registry1]
"Restoring the registry" 1
; Undoes the run of Z:\medium\setup.qxs Setup
; The installation asked Windows for Reboot: nothing to undo.
RestorePriority "C:\App\lib.dll" 7 3
; Undoes the run of Z:\medium\setup.qxs Setup
; Not undone, a record of an unknown kind: Frobnicate	C:\\x
; The installation ran "C:\App\app.exe" /first: what that program changed is not recorded, and is not undone.

[IniFiles2]
"Restoring INI files" 7
AppendLine "C:\Win\sys.ini" "Gone" "a=1"
AppendLine "C:\Win\sys.ini" "Gone" "b"
; Not undone, a text holds a line break, which a script line cannot: IniKeySet	C:\\Win\\sys.ini	Drv	K	v	present	two\nlines
RemoveLine "C:\Win\sys.ini" "Drv" "x=1"
SetKey "C:\Win\win.ini" "Desk" "Paper" """old"""
DeleteKey "C:\Win\app.ini" "Main" "Key"
RemoveEmptySection "C:\Win\app.ini" "Main"
RemoveEmptyIniFile "C:\Win\app.ini"

[Registry3]
"Restoring the registry" 6
SetBinValue HKCU "Software\Ex" "Old" C0FFEE
RemoveValue HKCU "Software\Ex" ""
; HKCU\Software\Ex value Path held REG_EXPAND_SZ %TEMP% before: no command writes that type, so put it back by hand.
SetBinValue HKCU "Software\Ex" "Bin"
SetDwValue HKCU "Software\Ex" "Count" -1
SetSzValue HKCU "Software\Ex" "Name" "50$$ ""off""	x"
RemoveEmptyKey HKCU "Software\Ex"

[Files4]
"Removing files and folders" 3
MakeDir "C:\Data" HR
; C:\App\b.txt was there before and was replaced by the move: its earlier content was not kept.
MoveFileBack "C:\App\b.txt" "C:\App\a.txt"
; C:\Users\notes.txt was deleted by the installation: its content was not kept, so it cannot be put back.
RemoveFile "C:\App\tmp.log"
; C:\Win\sys.dll was replaced at the next restart after the installation: run this uninstaller after that restart, or the restart puts the installed file back.
; C:\Win\sys.dll was there before and was written over: its earlier content was not kept, so it stays.
; C:\Win\old.dll was there before and was written over: its earlier content was not kept, so it stays.
; C:\App\shared.dll was there before and was written over with priority -1: its earlier content was not kept, so it stays.

[Registry5]
"Restoring the registry" 1
RestorePriority "C:\App\shared.dll" -1 0

[Files6]
"Removing files and folders" 1
RemoveSharedFile "C:\App\app.exe" 5 0

[Registry7]
"Restoring the registry" 1
RemoveEmptyKey HKLM "Software\Brenvale"

[Files8]
"Removing files and folders" 1
RemoveEmptyDir "C:\App"
)");
}

}  // namespace
}  // namespace qxirun
