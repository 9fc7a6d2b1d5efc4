// Faults around a whole script run: the script file attacked while the engine has it mapped,
// and a truncated archive in the middle of a run whose later lines must still run.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/qxz_writer.h"
#include "engine/host_callbacks.h"
#include "engine/run_script.h"
#include "faults/fault_support.h"
#include "support/disk_files.h"
#include "support/helper_processes.h"
#include "support/script_runner.h"

namespace {

using qxi_test::EngineTemporaryFiles;
using qxi_test::Exists;
using qxi_test::Lines;
using qxi_test::Noise;
using qxi_test::ReadText;
using qxi_test::Recorded;
using qxi_test::SystemText;
using qxi_test::TempDir;
using qxi_test::WriteText;
using Texts = std::vector<std::string>;

std::string g_script_path;

// The outcome of one Win32 call, as a text for the record.
std::string Outcome(bool succeeded) {
  return succeeded ? "ok" : "error " + std::to_string(GetLastError());
}

// The dialog callback of the first section: tries to delete, rename and overwrite the script
// that the engine is walking, and records what the system answered.
void QXI_CALL TamperWithScript(const char* text, int number) {
  Recorded().push_back("dialog " + std::string(text) + " " + std::to_string(number));
  if (std::string(text) != "First") return;
  const char* path = g_script_path.c_str();
  Recorded().push_back("delete " + Outcome(DeleteFileA(path)));
  Recorded().push_back("rename " + Outcome(MoveFileA(path, (g_script_path + ".old").c_str())));
  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  Recorded().push_back("truncate " + Outcome(file != INVALID_HANDLE_VALUE));
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  Recorded().push_back("write " + Outcome(file != INVALID_HANDLE_VALUE));
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// The engine holds its script open for reading only while it runs, so the system refuses to
// delete, rename or write it: the mapped view stays valid and every later line still runs.
// Once the run is over the file can go.
TEST(ScriptFaults, ScriptCannotBeDeletedOrRewrittenWhileItRuns) {
  TempDir dir;
  const std::string script =
      "[Main]\r\nFileOps First Second\r\n"
      "[First]\r\nFirst 2\r\nCreateFile \"" + dir.path() + "\\one.txt\" N\r\n"
      "[Second]\r\nSecond 1\r\nCreateFile \"" + dir.path() + "\\two.txt\" N\r\n";
  g_script_path = dir.Write("script.qxs", script);
  qxi_test::RecordEngineCallbacks();
  qxi::RegisterDialog(TamperWithScript);
  qxi::RunScript(g_script_path.c_str(), "Main");
  qxi::RegisterDialog(nullptr);

  const std::string refused = "error " + std::to_string(ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Recorded(), Texts({"dialog First 2", "delete " + refused, "rename " + refused,
                               "truncate " + refused, "write " + refused, "advance 1",
                               "dialog Second 1", "advance 1"}))
      << Lines(Recorded());
  EXPECT_TRUE(ReadText(g_script_path) == script);
  EXPECT_TRUE(Exists(dir.path() + "\\one.txt"));
  EXPECT_TRUE(Exists(dir.path() + "\\two.txt"));
  EXPECT_TRUE(DeleteFileA(g_script_path.c_str()));
}

// Another program, started by RunApp while the engine waits for it, tries the same: delete,
// rename and overwrite. The script is untouched and the lines after the RunApp line run.
TEST(ScriptFaults, ProgramStartedByTheScriptCannotChangeIt) {
  TempDir dir;
  const std::string script_path = dir.path() + "\\script.qxs";
  const std::string tamper = "cmd.exe /c del /f \"\"" + script_path + "\"\" & ren \"\"" +
                             script_path + "\"\" other.qxs & echo [Main]> \"\"" +
                             script_path + "\"\" & echo done> \"\"" + dir.path() +
                             "\\tampered.txt\"\"";
  const std::string script =
      "[Main]\r\nMisc Tamper\r\nFileOps After\r\n"
      "[Tamper]\r\nTamper 1\r\nRunApp \"" + tamper + "\" \"\" -1\r\n"
      "[After]\r\nAfter 1\r\nCreateFile \"" + dir.path() + "\\after.txt\" N\r\n";
  dir.Write("script.qxs", script);
  qxi_test::RecordEngineCallbacks();
  qxi::RunScript(script_path.c_str(), "Main");

  EXPECT_EQ(Recorded(), Texts({"dialog Tamper 1", "advance 1", "dialog After 1", "advance 1"}))
      << Lines(Recorded());
  EXPECT_TRUE(Exists(dir.path() + "\\tampered.txt")) << "the program did not run";
  EXPECT_FALSE(Exists(dir.path() + "\\other.qxs"));
  EXPECT_TRUE(ReadText(script_path) == script);
  EXPECT_TRUE(Exists(dir.path() + "\\after.txt"));

  // The same command once the run is over: now the script goes (deleted, so nothing to
  // rename), and the one it writes takes its place.
  std::string command = tamper;
  for (size_t at; (at = command.find("\"\"")) != std::string::npos;) command.erase(at, 1);
  qxi_test::RunProgram(command);
  EXPECT_EQ(ReadText(script_path), "[Main] \r\n");  // echo keeps the blank before "&"
}

// An archive cut short inside its second entry: the first entry stays, the second is
// reported by name; an archive whose entry has a wrong CRC loses that file; the lines and
// sections after them run as usual.
TEST(ScriptFaults, DamagedArchivesFailTheirLinesAndTheRunGoesOn) {
  TempDir dir;
  const std::string one = Noise(3000, 3), two = Noise(3000, 4);
  std::vector<uint8_t> archive, whole;
  qxi::QxzFileInfo info;
  info.attributes = 0x20;
  info.file_time = 0x01BD844B65B4C000u;
  info.name = "ONE.BIN";
  qxi::AppendQxzFile(info, reinterpret_cast<const uint8_t*>(one.data()), one.size(),
                     qxi::ImplodeOptions{}, &archive);
  info.name = "TWO.BIN";
  qxi::AppendQxzFile(info, reinterpret_cast<const uint8_t*>(two.data()), two.size(),
                     qxi::ImplodeOptions{}, &archive);
  info.name = "W.TXT";
  qxi::AppendQxzFile(info, reinterpret_cast<const uint8_t*>("whole"), 5, qxi::ImplodeOptions{},
                     &whole);
  std::vector<uint8_t> bad;
  info.name = "BAD.TXT";
  qxi::AppendQxzFile(info, reinterpret_cast<const uint8_t*>("wrong"), 5, qxi::ImplodeOptions{},
                     &bad);
  bad[8] ^= 0xFF;  // the stored CRC
  const std::string bad_path = dir.Write("bad.qxz", std::string(bad.begin(), bad.end()));
  const std::string cut_path = dir.Write("cut.qxz", std::string(archive.begin(), archive.end() - 1));
  const std::string whole_path = dir.Write("whole.qxz", std::string(whole.begin(), whole.end()));
  CreateDirectoryA((dir.path() + "\\src").c_str(), nullptr);
  dir.Write("src\\C.TXT", "ccc");
  const Texts temporary_before = EngineTemporaryFiles();

  const std::string out = dir.path() + "\\out", out2 = dir.path() + "\\out2";
  std::string script;
  const Texts calls = qxi_test::RunText(
      dir,
      "[Main]\nFileCopy Files\nFileOps After\n"
      "[Files]\nUnpacking 4\n"
      "ExtractQXZ \"" + cut_path + "\" \"" + out + "\"\n"
      "ExtractQXZ \"" + bad_path + "\" \"" + out + "\"\n"
      "ExtractQXZ \"" + whole_path + "\" \"" + out2 + "\"\n"
      "CopyFile \"" + dir.path() + "\\src\" \"" + out2 + "\" C.TXT N 0\n"
      "[After]\nAfter 1\nCreateFile \"" + out + "\\after.txt\" N\n",
      "Main", &script);
  EXPECT_EQ(calls, Texts({"dialog Unpacking 4", "subdialog " + out + "\\ONE.BIN 3000", "advance 3000",
                          "log " + script + " | ExtractQXZ: section [Files] line #2, "
                              "Invalid QXZ file format \"TWO.BIN\"",
                          "subdialog " + out + "\\BAD.TXT 5", "advance 5",
                          // An error of the engine's own other than a failed system call
                          // is reported without the command's name.
                          "log " + script + " | section [Files] line #3, CRC error",
                          "subdialog " + out2 + "\\W.TXT 5", "advance 5", "subdialog C.TXT 3",
                          "advance 3", "dialog After 1", "advance 1"}))
      << Lines(calls);
  EXPECT_TRUE(ReadText(out + "\\ONE.BIN") == one);
  EXPECT_FALSE(Exists(out + "\\TWO.BIN"));
  EXPECT_FALSE(Exists(out + "\\BAD.TXT"));
  EXPECT_EQ(ReadText(out2 + "\\W.TXT"), "whole");
  EXPECT_EQ(ReadText(out2 + "\\C.TXT"), "ccc");
  EXPECT_TRUE(Exists(out + "\\after.txt"));
  EXPECT_EQ(EngineTemporaryFiles(), temporary_before);
}

}  // namespace
