// The FileOps commands run from scripts on real files of a temporary folder: the callbacks
// of every line, the files, their attributes, and the operations recorded for the restart in
// PendingFileRenameOperations. The test runs in a Wine prefix of its own, where nothing waits
// for the restart when a test starts.
#include "files/file_commands.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/qx_err.h"
#include "engine/unique_handle.h"
#include "support/helper_processes.h"
#include "support/disk_files.h"
#include "support/restart_records.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::Exists;
using qxi_test::FileHolder;
using qxi_test::Lines;
using qxi_test::NtName;
using qxi_test::PendingFileRenameNames;
using qxi_test::ReplacingNtName;
using qxi_test::ReadText;
using qxi_test::TempDir;
using Calls = std::vector<std::string>;
using Texts = std::vector<std::string>;

constexpr DWORD kShownAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_DIRECTORY;

// The attributes that scripts can set, with the directory flag; ~0 for a missing path.
DWORD Shown(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? ~DWORD{0} : attributes & kShownAttributes;
}

// What a command's failure with `error` reads as in the log: the text of " run time error"
// followed by the system's own text for the error, as the test asks the system for it.
std::string RunTimeErrorText(DWORD error) {
  char* text = nullptr;
  DWORD length = FormatMessageA(0x1182, nullptr, error, 0x400, reinterpret_cast<char*>(&text),
                                0, nullptr);
  std::string system_text(text != nullptr ? text : "", length);
  LocalFree(text);
  EXPECT_FALSE(system_text.empty()) << error;
  return std::string(QXErr(kRunTimeError).what()) + " \"" + system_text + "\"";
}

// The Unix path under Wine of the Windows path `path`; empty when there is none.
std::string UnixPath(const std::string& path) {
  using ToUnix = char*(CDECL*)(const WCHAR*);
  auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (to_unix == nullptr) return std::string();
  std::wstring wide(path.begin(), path.end());
  char* unix_path = to_unix(wide.c_str());
  std::string result(unix_path != nullptr ? unix_path : "");
  HeapFree(GetProcessHeap(), 0, unix_path);
  return result;
}

// Runs the Unix program of `command_line` and waits until `path` exists (`exists`) or is
// gone; a Unix program gives no process handle to wait on. False when that never happens.
bool RunUnixProgram(std::string command_line, const std::string& path, bool exists) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  UniqueKernelHandle process(info.hProcess);
  UniqueKernelHandle thread(info.hThread);
  for (int attempt = 0; attempt < 600; ++attempt) {
    if ((GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) == exists) return true;
    Sleep(100);
  }
  return false;
}

// Makes `link` a symbolic link to the directory `target` with the Unix ln; Wine lists it as
// a directory that is a reparse point. False when it could not be made.
bool MakeDirectoryLink(const std::string& link, const std::string& target) {
  const std::string command_line =
      "Z:\\bin\\ln -s \"" + UnixPath(target) + "\" \"" + UnixPath(link) + "\"";
  return RunUnixProgram(command_line, link, true) &&
         (GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Removes a link made by MakeDirectoryLink (the folder's own cleanup would stumble on it).
void RemoveDirectoryLink(const std::string& link) {
  EXPECT_TRUE(RunUnixProgram("Z:\\bin\\rm -f \"" + UnixPath(link) + "\"", link, false)) << link;
}

class FileCommands : public ::testing::Test {
 protected:
  void SetUp() override { qxi_test::ClearRestartRecords(); }
  void TearDown() override {
    EXPECT_FALSE(Exists(qxi_test::WininitPath()));  // the NT family never reads it
    qxi_test::ClearRestartRecords();
  }

  // Runs the command lines `body` as section [Files] (header "Files" 3) of a script.
  Calls Run(const std::string& body) {
    return qxi_test::RunText(dir_, "[Main]\r\nFileOps Files\r\n[Files]\r\nFiles 3\r\n" + body,
                             "Main", &script_);
  }
  // The report of a failure of `command` on line `line` of section [Files].
  std::string Failure(const char* command, int line, DWORD error) const {
    return "log " + script_ + " | " + command + ": section [Files] line #" +
           std::to_string(line) + ", " + RunTimeErrorText(error);
  }
  static Calls Advances(size_t count) {
    Calls calls = {"dialog Files 3"};
    calls.insert(calls.end(), count, "advance 1");
    return calls;
  }
  std::string In(const std::string& name) const { return dir_.path() + "\\" + name; }
  std::string Write(const std::string& name, const std::string& text) const {
    return dir_.Write(name, text);
  }

  TempDir dir_;
  std::string script_;
};

TEST_F(FileCommands, CreateFileMakesNewEmptyFilesAndNeverOverwrites) {
  const std::string hidden = In("hidden.txt"), plain = In("plain.txt");
  Calls calls = Run("CreateFile " + hidden + " hr\r\n"
                    "CreateFile " + plain + "\r\n"
                    "CreateFile " + hidden + " R\r\n"              // exists: error 80
                    "CreateFile " + In("missing\\x.txt") + "\r\n");  // no directory: error 3
  EXPECT_EQ(calls, (Calls{"dialog Files 3", "advance 1", "advance 1",
                          Failure("CreateFile", 4, ERROR_FILE_EXISTS), "advance 1",
                          Failure("CreateFile", 5, ERROR_PATH_NOT_FOUND), "advance 1"}))
      << Lines(calls);
  EXPECT_EQ(Shown(hidden), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Shown(plain), 0u);
  EXPECT_EQ(ReadText(hidden), "");
  EXPECT_EQ(ReadText(plain), "");
  EXPECT_FALSE(Exists(In("missing")));
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileCommands, DelFileDefersWhatItCannotDeleteAndNeverReports) {
  const std::string gone = Write("gone.txt", "x");
  const std::string held = Write("held.txt", "in use");
  const std::string missing = In("missing.txt");
  FileHolder holder({held});
  ASSERT_TRUE(holder.holding());
  Calls calls = Run("DelFile " + gone + "\r\n"
                    "DelFile " + missing + "\r\n"
                    "DelFile " + held + "\r\n"
                    "DelFile " + In("HELD.TXT") + "\r\n");  // the same file again: recorded once
  EXPECT_EQ(calls, Advances(4)) << Lines(calls);
  EXPECT_FALSE(Exists(gone));
  EXPECT_EQ(ReadText(held), "");  // held with share mode 0: unreadable, and still there
  EXPECT_TRUE(Exists(held));
  EXPECT_EQ(PendingFileRenameNames(), Texts({NtName(missing), "", NtName(held), ""}));
}

TEST_F(FileCommands, MoveFileReplacesAndRenameFileDefersOntoAnExistingFile) {
  Write("new.dll", "new");
  Write("old.dll", "old");
  Write("a.txt", "a");
  Write("b.txt", "b");
  Write("lone.txt", "lone");
  const std::string locked = Write("locked.dll", "locked");
  Write("update.dll", "update");
  FileHolder holder({locked});
  ASSERT_TRUE(holder.holding());
  Calls calls = Run("MoveFile " + In("new.dll") + " " + In("old.dll") + "\r\n"
                    "RenameFile " + In("a.txt") + " " + In("b.txt") + "\r\n"
                    "RenameFile " + In("lone.txt") + " " + In("renamed.txt") + "\r\n"
                    "MoveFile " + In("update.dll") + " " + locked + "\r\n"
                    "MoveFile " + In("nothing.dll") + " " + In("target.dll") + "\r\n");
  EXPECT_EQ(calls, Advances(5)) << Lines(calls);
  EXPECT_EQ(holder.Release(), 0u);
  EXPECT_FALSE(Exists(In("new.dll")));
  EXPECT_EQ(ReadText(In("old.dll")), "new");
  EXPECT_EQ(ReadText(In("a.txt")), "a");  // both stay until the restart
  EXPECT_EQ(ReadText(In("b.txt")), "b");
  EXPECT_FALSE(Exists(In("lone.txt")));
  EXPECT_EQ(ReadText(In("renamed.txt")), "lone");
  EXPECT_EQ(ReadText(locked), "locked");
  EXPECT_EQ(ReadText(In("update.dll")), "update");
  EXPECT_FALSE(Exists(In("target.dll")));
  EXPECT_EQ(PendingFileRenameNames(),
            Texts({NtName(In("a.txt")), ReplacingNtName(In("b.txt")), NtName(In("update.dll")),
                   ReplacingNtName(locked), NtName(In("nothing.dll")), ReplacingNtName(In("target.dll"))}));
}

TEST_F(FileCommands, MakeDirCreatesTheChainAndSetsAttributesOnTheLastOnly) {
  const std::string a = In("A"), b = In("A\\B"), c = In("A\\B\\C");
  Write("file.txt", "not a directory");
  Calls calls = Run("MakeDir " + c + " HS\r\n"
                    "MakeDir " + In("A\\Other") + "\r\n"
                    "MakeDir " + In("file.txt\\sub") + " H\r\n");  // cannot be made: silent
  EXPECT_EQ(calls, Advances(3)) << Lines(calls);
  EXPECT_EQ(Shown(a), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(Shown(b), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(Shown(c), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                         FILE_ATTRIBUTE_SYSTEM));
  EXPECT_EQ(Shown(In("A\\Other")), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(ReadText(In("file.txt")), "not a directory");

  // Made again without letters: no error, and the attributes are back to normal.
  calls = Run("MakeDir " + c + "\r\n");
  EXPECT_EQ(calls, Advances(1)) << Lines(calls);
  EXPECT_EQ(Shown(c), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(FileCommands, DelDirRemovesWholeTreesAndReportsMissingDirectories) {
  CreateDirectoryA(In("T").c_str(), nullptr);
  CreateDirectoryA(In("T\\S1").c_str(), nullptr);
  CreateDirectoryA(In("T\\S1\\S2").c_str(), nullptr);
  CreateDirectoryA(In("T\\S1\\S2\\S3").c_str(), nullptr);
  CreateDirectoryA(In("T\\S4").c_str(), nullptr);
  CreateDirectoryA(In("Empty").c_str(), nullptr);
  Write("T\\a.txt", "a");
  Write("T\\S1\\b.txt", "b");
  Write("T\\S1\\S2\\c.txt", "c");
  const std::string hidden = Write("T\\S4\\hidden.txt", "h");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Calls calls = Run("DelDir " + In("T") + "\r\n"
                    "DelDir " + In("Empty") + "\\\r\n"
                    "DelDir " + In("missing") + "\r\n"
                    "DelDir " + In("missing\\deeper") + "\r\n");
  EXPECT_EQ(calls, (Calls{"dialog Files 3", "advance 1", "advance 1",
                          Failure("DelDir", 4, ERROR_FILE_NOT_FOUND), "advance 1",
                          Failure("DelDir", 5, ERROR_PATH_NOT_FOUND), "advance 1"}))
      << Lines(calls);
  EXPECT_FALSE(Exists(In("T")));
  EXPECT_FALSE(Exists(In("Empty")));
  EXPECT_TRUE(Exists(dir_.path()));
}

TEST_F(FileCommands, DelDirEndsAtTheFirstFileItCannotDelete) {
  // The errors a deletion of such files gives, as the system reports them here.
  const std::string probe = Write("probe.txt", "p");
  SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_FALSE(DeleteFileA(probe.c_str()));
  const DWORD read_only_error = GetLastError();
  SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);

  CreateDirectoryA(In("R").c_str(), nullptr);
  const std::string read_only = Write("R\\read_only.txt", "r");
  SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY);
  // The held file lies two levels down: its failure, not the outer directory's, is reported.
  CreateDirectoryA(In("H").c_str(), nullptr);
  CreateDirectoryA(In("H\\Inner").c_str(), nullptr);
  const std::string held = Write("H\\Inner\\held.txt", "held");
  FileHolder holder({held});
  ASSERT_TRUE(holder.holding());
  ASSERT_FALSE(DeleteFileA(held.c_str()));
  const DWORD held_error = GetLastError();

  Calls calls = Run("DelDir " + In("R") + "\r\n"
                    "DelDir " + In("H") + "\r\n");
  EXPECT_EQ(calls, (Calls{"dialog Files 3", Failure("DelDir", 2, read_only_error), "advance 1",
                          Failure("DelDir", 3, held_error), "advance 1"}))
      << Lines(calls);
  EXPECT_EQ(Shown(read_only), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));  // not made writable
  EXPECT_TRUE(Exists(held));

  // Once let go, the rest of the tree goes as well.
  EXPECT_EQ(holder.Release(), 0u);
  SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_NORMAL);
  calls = Run("DelDir " + In("R") + "\r\nDelDir " + In("H") + "\r\n");
  EXPECT_EQ(calls, Advances(2)) << Lines(calls);
  EXPECT_FALSE(Exists(In("R")));
  EXPECT_FALSE(Exists(In("H")));
}

TEST_F(FileCommands, DelDirEndsWhenADeletedFileStaysListed) {
  // Open shared for deletion: DeleteFileA succeeds, yet the file stays until it is let go.
  CreateDirectoryA(In("P").c_str(), nullptr);
  const std::string pending = Write("P\\pending.txt", "p");
  Write("P\\other.txt", "o");
  CreateDirectoryA(In("P\\Sub").c_str(), nullptr);
  UniqueFileHandle open_file(CreateFileA(pending.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(open_file);
  Calls calls = Run("DelDir " + In("P") + "\r\n");
  EXPECT_EQ(calls, (Calls{"dialog Files 3", Failure("DelDir", 2, ERROR_DIR_NOT_EMPTY),
                          "advance 1"}))
      << Lines(calls);
  EXPECT_FALSE(Exists(In("P\\other.txt")));  // the sweep went on past the listed file
  EXPECT_FALSE(Exists(In("P\\Sub")));
  open_file.reset();
  EXPECT_FALSE(Exists(pending));
}

TEST_F(FileCommands, DelDirOfAnEmptyNameRemovesNothing) {
  // Searched as given, the empty name would sweep the root of the current drive.
  char previous[MAX_PATH];
  ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.path().c_str()));
  const std::string canary = dir_.path().substr(0, 3) + "qxi_deldir_canary.txt";
  std::ofstream(canary) << "still here";
  Write("beside.txt", "b");
  Calls calls = Run("DelDir \"\"\r\n");
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(calls, (Calls{"dialog Files 3", Failure("DelDir", 2, ERROR_PATH_NOT_FOUND),
                          "advance 1"}))
      << Lines(calls);
  EXPECT_EQ(ReadText(canary), "still here");
  EXPECT_TRUE(Exists(In("beside.txt")));
  DeleteFileA(canary.c_str());
}

TEST_F(FileCommands, DelDirRemovesLinksWithoutFollowingThem) {
  CreateDirectoryA(In("Outside").c_str(), nullptr);
  const std::string kept = Write("Outside\\kept.txt", "kept");
  CreateDirectoryA(In("Tree").c_str(), nullptr);
  Write("Tree\\file.txt", "f");
  ASSERT_TRUE(MakeDirectoryLink(In("Tree\\Link"), In("Outside")));
  // What removing such a link gives on this platform (Wine refuses while the target holds
  // files; Windows removes the link alone).
  ASSERT_TRUE(MakeDirectoryLink(In("Probe"), In("Outside")));
  const DWORD link_error = RemoveDirectoryA(In("Probe").c_str()) ? 0 : GetLastError();

  Calls calls = Run("DelDir " + In("Tree") + "\r\n");
  if (link_error == 0) {
    EXPECT_EQ(calls, Advances(1)) << Lines(calls);
    EXPECT_FALSE(Exists(In("Tree")));
  } else {
    EXPECT_EQ(calls, (Calls{"dialog Files 3", Failure("DelDir", 2, link_error), "advance 1"}))
        << Lines(calls);
    EXPECT_TRUE(Exists(In("Tree\\Link")));
  }
  EXPECT_EQ(ReadText(kept), "kept");  // never reached through the link
  RemoveDirectoryLink(In("Probe"));
  RemoveDirectoryLink(In("Tree\\Link"));
}

}  // namespace
}  // namespace qxi
