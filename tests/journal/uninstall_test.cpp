// The journal and the uninstall script made from it, under Wine with real effects: the
// records every kind of command sends, a file two products share under the priority rule,
// what the user made and what is in use at uninstall time, values and INI keys given back
// exactly, and runs without a journal unchanged. Runs in a Wine prefix of its own: it writes
// the machine-wide priorities store and restarts the prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/host_callbacks.h"
#include "engine/run_script.h"
#include "registry/shared_file_claims.h"
#include "support/built_program.h"
#include "support/disk_files.h"
#include "support/helper_processes.h"
#include "support/ini_text.h"
#include "support/priority_store.h"
#include "support/restart_records.h"
#include "support/script_runner.h"
#include "support/windows98.h"
#include "uninstall_script.h"

namespace qxi {
namespace {

using qxi_test::BuiltProgram;
using qxi_test::Exists;
using qxi_test::Lines;
using qxi_test::ReadText;
using qxi_test::TempDir;
using qxi_test::WriteText;
using Texts = std::vector<std::string>;

constexpr char kTestKey[] = "Software\\QxiJournalTest";
constexpr char kHost[] = "qxirun.exe";

Texts& Records() {
  static Texts records;
  return records;
}

void QXI_CALL RecordJournal(const char* record) { Records().push_back(record); }

// `text` with every occurrence of `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A callback's text with the folder `dir` shown as {dir} and the script's name as {script}.
std::string Placeholders(const std::string& call, const TempDir& dir) {
  std::string text = Replaced(call, dir.path(), "{dir}");
  const size_t name = text.find("{dir}\\script");
  if (name != std::string::npos) text.replace(name, text.find(".qxs", name) + 4 - name, "{script}");
  return text;
}

// `script` (in which D\ stands for the folder `dir`) run with a journal; the records with that
// folder (escaped as the journal writes it) shown as {dir}, and the run's callbacks in `calls`
// with it shown as {dir} too, and the script's name as {script}.
Texts RunJournalled(const TempDir& dir, const std::string& script, Texts* calls = nullptr) {
  RegisterJournal(RecordJournal);
  Records().clear();
  const Texts made = qxi_test::RunText(dir, Replaced(script, "D\\", dir.path() + "\\"), "Setup");
  RegisterJournal(nullptr);
  if (calls != nullptr) {
    calls->clear();
    for (const std::string& call : made) calls->push_back(Placeholders(call, dir));
  }
  Texts records;
  const std::string escaped = Replaced(dir.path(), "\\", "\\\\");
  for (const std::string& record : Records()) records.push_back(Replaced(record, escaped, "{dir}"));
  return records;
}

// The uninstall script of `records` (as RunJournalled gives them).
std::string UninstallText(const TempDir& dir, const Texts& records) {
  const std::string escaped = Replaced(dir.path(), "\\", "\\\\");
  std::string journal;
  for (const std::string& record : records) journal += Replaced(record, "{dir}", escaped) + "\r\n";
  const qxirun::UninstallScript script = qxirun::MakeUninstallScript(journal, "journal");
  EXPECT_EQ(script.problems, Texts());
  return script.text;
}

// Makes the uninstall script of `records` and runs it; returns its callbacks' log lines,
// which should be none.
Texts RunUninstall(const TempDir& dir, const Texts& records) {
  Texts logs;
  for (const std::string& call : qxi_test::RunText(dir, UninstallText(dir, records), "Uninstall")) {
    if (call.rfind("log ", 0) == 0) logs.push_back(call);
  }
  return logs;
}

// The registry value `name` of kTestKey under HKCU as type:hex bytes; "missing" when absent.
std::string StoredValue(const char* name) {
  BYTE data[64];
  DWORD type = 0;
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_CURRENT_USER, kTestKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                   &size) != ERROR_SUCCESS) {
    return "missing";
  }
  std::string text = std::to_string(type) + ":";
  for (DWORD i = 0; i < size; ++i) {
    char hex[3];
    wsprintfA(hex, "%02X", data[i]);
    text += hex;
  }
  return text;
}

bool TestKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class Uninstall : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    // The priorities store, and its parent keys, which the journal records as made.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Brenvale");
    CreateDirectoryA((dir_.path() + "\\src").c_str(), nullptr);
    WriteText(dir_.path() + "\\src\\one.txt", "one\r\n");
    WriteText(dir_.path() + "\\src\\two.txt", "second\r\n");
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

  TempDir dir_;
};

TEST_F(Uninstall, EveryCommandJournalsExactlyWhatItChanged) {
  const std::string script = R"([Setup]
FileOps Folders
FileCopy Files
FileOps Ops
Reg Registry
INI Settings
Misc Programs

[Folders]
"Folders" 2
MakeDir D\app\sub ""
MakeDir D\app H

[Files]
"Files" 0
CopyFile D\src D\app one.txt "" 5
CopyFile D\src D\app one.txt "" 5
CopyFile D\src D\app one.txt "" 6
CopyFile D\src D\app missing.txt "" 0

[Ops]
"Ops" 7
CreateFile D\app\new.txt ""
RenameFile D\app\new.txt D\app\renamed.txt
MoveFile D\app\renamed.txt D\app\one.txt
DelFile D\app\one.txt
CreateFile D\app\sub\deep.txt ""
DelDir D\app\sub
CreateShortcut D\links\app.lnk D\app\x.exe "" "" "" 0

[Registry]
"Registry" 8
SetSzValue HKCU Software\QxiJournalTest\Sub Name one
SetSzValue HKCU Software\QxiJournalTest\Sub Name "t	wo"
SetBinValue HKCU Software\QxiJournalTest\Sub Bin 00FF
IncValue HKCU Software\QxiJournalTest\Sub Bin
DeleteValue HKCU Software\QxiJournalTest\Sub Name
DeleteKey HKCU Software\QxiJournalTest\Sub
DeleteValue HKCU Software\QxiJournalTest Missing
RegisterPriority D\app\x.exe 3

[Settings]
"Settings" 8
SetKey D\t.ini S K v1
SetKey D\t.ini S Long LONG_TEXT
SetKey D\t.ini S K "v 2"
AppendKey D\t.ini S K +
AppendLine D\t.ini L line=1
DeleteKey D\t.ini S K
CreateSection D\t.ini E
DeleteSection D\t.ini L
; CreateSection writes nothing here (the platform writes no empty section): no record.
; A text longer than the profile functions take is refused.

[Programs]
"Programs" 2
RunApp "D\no such program.exe" "" 0
RunApp "cmd.exe /c exit 0" "" -1
)";
  Texts calls;
  const Texts records =
      RunJournalled(dir_, Replaced(script, "LONG_TEXT", std::string(32767, 'x')), &calls);
  // The lines that fail record nothing.
  const std::string not_found = qxi_test::SystemText(ERROR_FILE_NOT_FOUND);
  const Texts failures = {
      "CopyFile: section [Files] line #5, " + not_found,
      "DeleteValue: section [Registry] line #8, " + not_found,
      "SetKey: section [Settings] line #3,  run time error \"" +
          qxi_test::SystemText(ERROR_INVALID_PARAMETER) + "\"",
      "RunApp: section [Programs] line #2,  run time error \"" + not_found + "\""};
  Texts logs;
  for (const std::string& call : calls) {
    if (call.rfind("log ", 0) == 0) logs.push_back(call.substr(call.find(" | ") + 3));
  }
  EXPECT_EQ(logs, failures) << Lines(calls);
  EXPECT_EQ(records, (Texts{
      "FolderMake\t{dir}\\\\app",
      "FolderMake\t{dir}\\\\app\\\\sub",
      "FolderAttributes\t{dir}\\\\app\t\tH",
      "FolderAttributes\t{dir}\\\\app\tH\t",  // CopyFile gives its folder normal attributes
      "FileWrite\t{dir}\\\\app\\\\one.txt\tabsent",
      "KeyMake\tHKLM\tSoftware\\\\Brenvale",
      "KeyMake\tHKLM\tSoftware\\\\Brenvale\\\\Tarnset",
      "KeyMake\tHKLM\tSoftware\\\\Brenvale\\\\Tarnset\\\\Priorities",
      "PrioritySet\t{dir}\\\\app\\\\one.txt\t5\t0",
      "FileWrite\t{dir}\\\\app\\\\one.txt\tpresent",
      "PrioritySet\t{dir}\\\\app\\\\one.txt\t6\t5",
      "FileWrite\t{dir}\\\\app\\\\new.txt\tabsent",
      "FileMove\t{dir}\\\\app\\\\new.txt\t{dir}\\\\app\\\\renamed.txt\tabsent",
      "FileMove\t{dir}\\\\app\\\\renamed.txt\t{dir}\\\\app\\\\one.txt\tpresent",
      "FileDelete\t{dir}\\\\app\\\\one.txt",
      "FileWrite\t{dir}\\\\app\\\\sub\\\\deep.txt\tabsent",
      "FileDelete\t{dir}\\\\app\\\\sub\\\\deep.txt",
      "FolderRemove\t{dir}\\\\app\\\\sub",
      "FolderMake\t{dir}\\\\links",
      "FileWrite\t{dir}\\\\links\\\\app.lnk\tabsent",
      "KeyMake\tHKCU\tSoftware\\\\QxiJournalTest",
      "KeyMake\tHKCU\tSoftware\\\\QxiJournalTest\\\\Sub",
      "ValueSet\tHKCU\tSoftware\\\\QxiJournalTest\\\\Sub\tName\tREG_SZ\tone\tabsent\t",
      "ValueSet\tHKCU\tSoftware\\\\QxiJournalTest\\\\Sub\tName\tREG_SZ\tt\\two\tREG_SZ\tone",
      "ValueSet\tHKCU\tSoftware\\\\QxiJournalTest\\\\Sub\tBin\tREG_BINARY\t00FF\tabsent\t",
      "ValueSet\tHKCU\tSoftware\\\\QxiJournalTest\\\\Sub\tBin\tREG_DWORD\t65281\tREG_BINARY\t00FF",
      "ValueDelete\tHKCU\tSoftware\\\\QxiJournalTest\\\\Sub\tName\tREG_SZ\tt\\two",
      "ValueDelete\tHKCU\tSoftware\\\\QxiJournalTest\\\\Sub\tBin\tREG_DWORD\t65281",
      "KeyDelete\tHKCU\tSoftware\\\\QxiJournalTest\\\\Sub",
      "PrioritySet\t{dir}\\\\app\\\\x.exe\t3\t0",
      "IniFileMake\t{dir}\\\\t.ini",
      "IniSectionMake\t{dir}\\\\t.ini\tS",
      "IniKeySet\t{dir}\\\\t.ini\tS\tK\tv1\tabsent\t",
      "IniKeySet\t{dir}\\\\t.ini\tS\tK\tv 2\tpresent\tv1",
      "IniKeySet\t{dir}\\\\t.ini\tS\tK\tv 2+\tpresent\tv 2",
      "IniSectionMake\t{dir}\\\\t.ini\tL",
      "IniLineAdd\t{dir}\\\\t.ini\tL\tline=1",
      "IniKeyDelete\t{dir}\\\\t.ini\tS\tK\tv 2+",
      "IniSectionDelete\t{dir}\\\\t.ini\tL\tline=1",
      "RunApp\tcmd.exe /c exit 0\t",
  })) << Lines(records);
}

TEST_F(Uninstall, SharedFileStaysWhileTheOtherProductNeedsIt) {
  // Products A and B install the same file, B with the higher priority. Whichever is removed
  // first, the file and a record stay for the other, and removing both leaves nothing.
  const std::string shared = dir_.path() + "\\shared\\lib.txt";
  const std::string product_a = "[Setup]\nFileCopy Files\n[Files]\n\"A\" 0\n"
                                "CopyFile D\\src D\\shared lib.txt \"\" 5\n";
  const std::string product_b = "[Setup]\nFileCopy Files\n[Files]\n\"B\" 0\n"
                                "CopyFile D\\src D\\shared lib.txt \"\" 7\n";
  for (bool a_first : {true, false}) {
    SCOPED_TRACE(a_first ? "A removed first" : "B removed first");
    WriteText(dir_.path() + "\\src\\lib.txt", "A's\r\n");
    const Texts a = RunJournalled(dir_, product_a);
    ASSERT_EQ(ReadText(shared), "A's\r\n");
    WriteText(dir_.path() + "\\src\\lib.txt", "B's\r\n");
    const Texts b = RunJournalled(dir_, product_b);
    ASSERT_EQ(ReadText(shared), "B's\r\n");
    DWORD type = 0;
    EXPECT_EQ(RunUninstall(dir_, a_first ? a : b), Texts());
    EXPECT_EQ(ReadText(shared), "B's\r\n");
    EXPECT_EQ(qxi_test::StoredPriority(shared, &type), a_first ? 7u : 5u);
    EXPECT_EQ(RunUninstall(dir_, a_first ? b : a), Texts());
    EXPECT_FALSE(Exists(shared));
    EXPECT_EQ(qxi_test::StoredPriority(shared, &type), 0u);
    EXPECT_EQ(type, 0u);
    HKEY notes = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kReleasedKey, 0, KEY_READ, &notes), ERROR_SUCCESS);
    if (notes != nullptr) RegCloseKey(notes);
    // The folder is A's: its uninstallation removes it only when it is empty by then.
    EXPECT_EQ(Exists(dir_.path() + "\\shared"), a_first);
    RemoveDirectoryA((dir_.path() + "\\shared").c_str());
  }
}

TEST_F(Uninstall, UsersFilesStayAndWhatIsGoneAlreadyIsPassedOverQuietly) {
  const Texts records = RunJournalled(dir_, R"([Setup]
FileCopy Files
INI Settings
Reg Registry

[Files]
"Files" 0
CopyFile D\src D\app one.txt "" 0
CopyFile D\src D\app two.txt "" 0

[Settings]
"Settings" 1
SetKey D\app.ini Main Key value

[Registry]
"Registry" 1
SetSzValue HKCU Software\QxiJournalTest\Deep Name value
)");
  WriteText(dir_.path() + "\\app\\mine.txt", "the user's\r\n");
  DeleteFileA((dir_.path() + "\\app\\two.txt").c_str());
  DeleteFileA((dir_.path() + "\\app.ini").c_str());
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QxiJournalTest\\Deep");
  EXPECT_EQ(RunUninstall(dir_, records), Texts());
  EXPECT_FALSE(Exists(dir_.path() + "\\app\\one.txt"));
  EXPECT_EQ(ReadText(dir_.path() + "\\app\\mine.txt"), "the user's\r\n");
  EXPECT_FALSE(TestKeyExists());
}

TEST_F(Uninstall, FileInUseGoesAtTheRestartUnderEitherMechanism) {
  // qxirun.exe runs the uninstall script while the file is held, once as the NT family sees
  // it, once as Windows 98: the deletion is recorded where that family's restart looks.
  const std::string file = dir_.path() + "\\app\\one.txt";
  for (const bool windows98 : {false, true}) {
    SCOPED_TRACE(windows98 ? "Windows 98" : "NT family");
    qxi_test::ClearRestartRecords();
    const Texts records = RunJournalled(
        dir_, "[Setup]\nFileCopy Files\n[Files]\n\"F\" 0\nCopyFile D\\src D\\app one.txt \"\" 0\n");
    const std::string script = dir_.Write("uninstall.qxs", UninstallText(dir_, records));
    qxi_test::ReportWindows98To(kHost, windows98);
    {
      qxi_test::FileHolder holder({file});
      ASSERT_TRUE(holder.holding());
      const qxi_test::ProgramRun run = qxi_test::RunProgramWithOutput(
          "\"" + BuiltProgram(kHost) + "\" --quiet \"" + script + "\" Uninstall");
      EXPECT_EQ(run.status, 0u) << run.out << run.err;
      if (windows98) {
        EXPECT_EQ(qxi_test::FileLines(qxi_test::WininitPath()),
                  (Texts{"[Rename]", "NUL=" + qxi_test::ShortName(file)}));
        EXPECT_FALSE(qxi_test::HasPendingFileRenames());
      } else {
        EXPECT_EQ(qxi_test::PendingFileRenameNames(), (Texts{qxi_test::NtName(file), ""}));
        EXPECT_FALSE(Exists(qxi_test::WininitPath()));
      }
    }
    qxi_test::ReportWindows98To(kHost, false);
    EXPECT_TRUE(Exists(file));
    qxi_test::Restart();
    EXPECT_FALSE(Exists(file));
  }
}

TEST_F(Uninstall, ChangedValuesAndIniKeysGetTheirDataBackExactly) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const BYTE text[] = "old text";
  const BYTE number[] = {0x2A, 0, 0, 0x80};
  const BYTE bytes[] = {0, 1, 0xFE};
  const BYTE expand[] = "%TEMP%\\x";
  RegSetValueExA(key, "Sz", 0, REG_SZ, text, sizeof text);
  RegSetValueExA(key, "Dw", 0, REG_DWORD, number, sizeof number);
  RegSetValueExA(key, "Bin", 0, REG_BINARY, bytes, sizeof bytes);
  RegSetValueExA(key, "Empty", 0, REG_BINARY, bytes, 0);
  RegSetValueExA(key, "Expand", 0, REG_EXPAND_SZ, expand, sizeof expand);
  RegCloseKey(key);
  const std::string ini = dir_.path() + "\\app.ini";
  WriteText(ini, "[Main]\r\nKey=\"quoted\" text\r\nOther=1\r\n");
  const Texts before = {StoredValue("Sz"), StoredValue("Dw"), StoredValue("Bin"),
                        StoredValue("Empty"), StoredValue("Expand")};
  const std::string ini_before = ReadText(ini);

  const Texts records = RunJournalled(dir_, R"([Setup]
Reg Registry
INI Settings

[Registry]
"Registry" 6
SetSzValue HKCU Software\QxiJournalTest Sz new
SetDwValue HKCU Software\QxiJournalTest Dw 1
SetBinValue HKCU Software\QxiJournalTest Bin 0102030405
SetBinValue HKCU Software\QxiJournalTest Empty FF
SetSzValue HKCU Software\QxiJournalTest Expand plain
SetSzValue HKCU Software\QxiJournalTest New made

[Settings]
"Settings" 2
SetKey D\app.ini Main Key changed
AppendKey D\app.ini Main Other 2
)");
  EXPECT_EQ(StoredValue("Dw"), "4:01000000");
  EXPECT_EQ(RunUninstall(dir_, records), Texts());
  // A REG_EXPAND_SZ cannot be written by a command: the script says what it held instead.
  EXPECT_EQ((Texts{StoredValue("Sz"), StoredValue("Dw"), StoredValue("Bin"), StoredValue("Empty"),
                   StoredValue("New")}),
            (Texts{before[0], before[1], before[2], before[3], "missing"}));
  EXPECT_EQ(StoredValue("Expand"), "1:" + std::string("706C61696E00"));
  EXPECT_EQ(ReadText(ini), ini_before);
}

TEST_F(Uninstall, AJournalChangesNoOtherCallbackAndNothingIsJournalledWithoutOne) {
  const std::string script = R"([Setup]
FileCopy Files
Reg Registry

[Files]
"Files" 14
CopyFile D\src D\app one.txt "" 2
CopyFile D\src D\app two.txt "" 0
CopyFile D\src D\app none.txt "" 0

[Registry]
"Registry" 2
SetSzValue HKCU Software\QxiJournalTest Name value
DeleteValue HKCU Software\QxiJournalTest Missing
)";
  Texts with_journal;
  EXPECT_EQ(RunJournalled(dir_, script, &with_journal), (Texts{
      "FolderMake\t{dir}\\\\app",
      "FileWrite\t{dir}\\\\app\\\\one.txt\tabsent",
      "KeyMake\tHKLM\tSoftware\\\\Brenvale",
      "KeyMake\tHKLM\tSoftware\\\\Brenvale\\\\Tarnset",
      "KeyMake\tHKLM\tSoftware\\\\Brenvale\\\\Tarnset\\\\Priorities",
      "PrioritySet\t{dir}\\\\app\\\\one.txt\t2\t0",
      "FileWrite\t{dir}\\\\app\\\\two.txt\tabsent",
      "KeyMake\tHKCU\tSoftware\\\\QxiJournalTest",
      "ValueSet\tHKCU\tSoftware\\\\QxiJournalTest\tName\tREG_SZ\tvalue\tabsent\t",
  }));
  DeleteFileA((dir_.path() + "\\app\\one.txt").c_str());
  DeleteFileA((dir_.path() + "\\app\\two.txt").c_str());
  RemoveDirectoryA((dir_.path() + "\\app").c_str());
  RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Brenvale");
  Records().clear();
  Texts without;
  for (const std::string& call : qxi_test::RunText(dir_, Replaced(script, "D\\", dir_.path() + "\\"),
                                                   "Setup")) {
    without.push_back(Placeholders(call, dir_));
  }
  EXPECT_EQ(Records(), Texts());
  EXPECT_EQ(Lines(without), Lines(with_journal));
  EXPECT_TRUE(Exists(dir_.path() + "\\app\\one.txt"));
  EXPECT_EQ(StoredValue("Name"), "1:76616C756500");
}

}  // namespace
}  // namespace qxi
