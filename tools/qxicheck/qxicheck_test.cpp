// What the differential test against the DLL cannot see: the file lines, hints and warnings
// of qxicheck's findings, how sure each foreseen engine message is, the files a check looks
// for, and the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/qxz_test_support.h"
#include "check_command_line.h"
#include "engine/qx_err.h"
#include "finding_output.h"
#include "script_checker.h"
#include "support/script_runner.h"

namespace qxicheck {
namespace {

using qxi_test::TempDir;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

class Checker : public ::testing::Test {
 protected:
  // Checks `script`, written as s.qxs, with `settings`; returns the findings' lines.
  std::string Check(const std::string& script, CheckSettings settings = CheckSettings()) {
    path_ = dir_.Write("s.qxs", script);
    checker_ = std::make_unique<ScriptChecker>(settings);
    checker_->Check(path_);
    checker_->Finish();
    return FindingLines(checker_->findings());
  }
  std::string At(int line) const { return path_ + ":" + std::to_string(line) + ": "; }
  std::string In(const std::string& name) const { return dir_.path() + kSeparator + name; }

  TempDir dir_;
  std::string path_;
  std::unique_ptr<ScriptChecker> checker_;
};

TEST_F(Checker, ErrorsCarryTheFileLineTheEngineMessageAndWhatIsWrong) {
  const std::string lines = Check(
      "[Setup]\n"
      "Misc Main\n"
      "@Ready Reg Later\n"
      "FileOp Keys\n"
      "[Main]\n"
      "Copying files 2\n"
      "NOPE\n"
      "\n"
      "MakeDir x\n"
      "@Nothing NOP\n"
      "RunApp x \"\" 12ab\n"
      "MessageBox $windr$\\x\n"
      "[Later]\n"
      "\"Later\" 1\n"
      "SetSzValue\n"
      "SetSzValue \"HKCU\"x Software\\A V x\n"
      "[Conditions]\n"
      "FileExists Ready x\n");
  EXPECT_EQ(lines,
            At(4) + "error: Enum parameter doesn't match valid options: Master section: Setup "
                    "line: 3: \"FileOp\" is not a group (Misc, INI, FileOps, Reg, FileCopy); "
                    "did you mean \"FileOps\"?\n" +
            At(6) + "error: Syntax error, section header [Main] Param #2: the header line's "
                    "number: \"files\" is not a number\n" +
            At(7) + "error: Unknown command, section [Main] line #2: \"NOPE\" is not a command "
                    "of group Misc; did you mean \"NOP\"?\n" +
            At(9) + "error: Unknown command, section [Main] line #3: \"MakeDir\" is a command of "
                    "group FileOps, and section [Main] is run with group Misc\n" +
            At(10) + "error: Undefined condition, section [Main] line #4 Param #0: no line of "
                     "[Conditions] defines \"Nothing\"\n" +
            At(11) + "error: Syntax error, section [Main] line #5 Param #3: Param #3 of RunApp, "
                     "\"Timeout (ms)\" (a number): \"12ab\" is not a number\n" +
            At(12) + "error: Syntax error, section [Main] line #6 Param #1: Param #1 of "
                     "MessageBox, \"Message body\" (a text): \"$windr$\" is not a folder macro "
                     "(CDROM, WINDIR, SYSDIR, START, STARTUP, PROGS, TEMP, DESKTOP, PROGRAMFILES, "
      "SCRIPTDIR; $$ stands "
                     "for a $); did you mean \"WINDIR\"?\n" +
            At(15) + "error: Enum parameter doesn't match valid options, section [Later] line "
                     "#2 Param #1: Param #1 of SetSzValue, \"Root Key\" (a root key): it is "
                     "missing\n" +
            At(16) + "error: Syntax error, section [Later] line #3 Param #1: Param #1 of "
                     "SetSzValue, \"Root Key\" (a root key): a closing quote must be followed "
                     "by a blank or the line end: \"HKCU\"x\n");
  EXPECT_EQ(SummaryLine(checker_->findings()), "9 errors, 0 warnings\n");
  // Section Later runs only where Ready holds; the master line that names it is read
  // whatever Ready is.
  EXPECT_EQ(EngineMessageLines(checker_->findings()),
            "always\t" + path_ + "\tSyntax error, section header [Main] Param #2\n"
            "always\t" + path_ + "\tUnknown command, section [Main] line #2\n"
            "always\t" + path_ + "\tUnknown command, section [Main] line #3\n"
            "always\t" + path_ + "\tUndefined condition, section [Main] line #4 Param #0\n"
            "always\t" + path_ + "\tSyntax error, section [Main] line #5 Param #3\n"
            "always\t" + path_ + "\tSyntax error, section [Main] line #6 Param #1\n"
            "holds\t" + path_ +
                "\tEnum parameter doesn't match valid options, section [Later] line #2 "
                "Param #1\n"
            "holds\t" + path_ + "\tSyntax error, section [Later] line #3 Param #1\n"
            "always\t" + path_ +
                "\tEnum parameter doesn't match valid options: Master section: Setup line: 3\n");
}

TEST_F(Checker, WarningsForWhatIsLegalButAlmostSurelyWrong) {
  std::vector<uint8_t> archive = qxi::testing_support::kOneLetterArchive;
  dir_.Write("good.qxz", std::string(archive.begin(), archive.end()));
  archive[8] ^= 1;  // the stored CRC: only decoding finds it wrong
  dir_.Write("crc.qxz", std::string(archive.begin(), archive.end()));
  dir_.Write("cut.qxz", std::string(archive.begin(), archive.begin() + 20));
  dir_.Write("here.txt", "here");
  const std::string script =
      "[Setup]\n"
      "Misc Main\n"
      "FileCopy Files\n"
      "[Main]\n"
      "\"Main\" 1\n"
      "@Maybe NOP\n"
      "NOP this is ignored\n"
      "[Files]\n"
      "\"Files\" 1\n"
      "CopyFile . dest here.txt \"\" 0\n"
      "CopyFile . dest gone.txt \"\" 0\n"
      "CopyFile $CDROM$ dest gone.txt \"\" 0\n"
      "ExtractQXZ good.qxz dest\n"
      "ExtractQXZ crc.qxz dest\n"
      "ExtractQXZ cut.qxz dest\n"
      "[Conditions]\n"
      "FileExists Once x\n"
      "@Once FileExists Maybe y\n"
      "FileExists Asked z\n"
      "FileExists Unused z\n"
      "[Main]\n"
      "\"Second\" 1\n";
  const std::string shallow = Check(script);
  const std::string warnings =
      At(6) + "warning: Undefined condition, section [Main] line #2 Param #0, on some "
              "machines: \"Maybe\" is defined only where the condition of its own line holds\n" +
      At(7) + "warning: text after the last parameter of NOP is ignored: \"this is ignored\" "
              "(section [Main] line #3)\n" +
      At(11) + "warning: CopyFile source \".\\gone.txt\" is not there: no file " +
      In("gone.txt") + " (section [Files] line #3)\n";
  const std::string cut = At(15) + "warning: ExtractQXZ archive \"cut.qxz\" is not a well-formed "
                          "QXZ archive: " + In("cut.qxz") + ": entry 1 at offset 0: archive ends "
                          "inside the entry's header or name (section [Files] line #7)\n";
  const std::string unused =
      At(19) + "warning: condition \"Asked\" is defined but no line uses it\n" +
      At(20) + "warning: condition \"Unused\" is defined but no line uses it\n" +
      At(21) + "warning: section [Main] is never reached: its name is taken by the section at "
               "line 4, which the engine always finds first\n";
  EXPECT_EQ(shallow, warnings + cut + unused);
  EXPECT_EQ(SummaryLine(checker_->findings()), "0 errors, 7 warnings\n");
  // The maybe-undefined condition is one the engine reports on some machines.
  EXPECT_EQ(EngineMessageLines(checker_->findings()),
            "some\t" + path_ + "\tUndefined condition, section [Main] line #2 Param #0\n");

  CheckSettings deep;
  deep.deep = true;
  deep.evaluated.push_back("asked");
  EXPECT_EQ(Check(script, deep),
            warnings +
                At(14) + "warning: ExtractQXZ archive \"crc.qxz\" is not a well-formed QXZ "
                         "archive: " + In("crc.qxz") + ": entry 1 \"A.TXT\" at offset 0: " +
                qxi::QXErr(qxi::kCrcError).what() +
                " (stored D3D99E8A, data gives D3D99E8B) (section [Files] line #6)\n" + cut +
                At(20) + "warning: condition \"Unused\" is defined but no line uses it\n" +
                At(21) + "warning: section [Main] is never reached: its name is taken by the "
                         "section at line 4, which the engine always finds first\n");
}

TEST_F(Checker, IncludesAreFollowedFromTheHostFolderAsTheEngineNestsThem) {
  std::filesystem::create_directory(dir_.path() + kSeparator + "parts");
  dir_.Write(std::string("parts") + kSeparator + "more.qxs",
             "[Parts]\nMisc P\n[P]\n\"P\" 1\nBogus\n");
  dir_.Write("loop.qxs", "[L]\nMisc I\n[I]\n\"I\" 1\nInclude loop.qxs L\n");
  const std::string lines = Check(
      "[Setup]\n"
      "Misc Main\n"
      "[Main]\n"
      "\"Main\" 1\n"
      "Include PARTS\\More.QXS. Parts\n"
      "Include gone.qxs Parts\n"
      "Include gone.qxs \"\"\n"
      "Include $CDROM$\\x.qxs Parts\n"
      "Include C:\\absent\\x.qxs Parts\n"
      "Include loop.qxs L\n");
#ifdef _WIN32
  const std::string more = In("PARTS\\More.QXS.");
#else
  const std::string more = In("parts/more.qxs");
#endif
  const std::string depth = qxi::QXErr(qxi::kRunTimeError, qxi::kErrorStackOverflow).what();
  EXPECT_EQ(lines,
            At(6) + "error: Section not found: there is no file " + In("gone.qxs") + "\n" +
            At(7) + "warning: Include of \"gone.qxs\": there is no file " + In("gone.qxs") +
                " (nothing is logged, as the master section is empty) (section [Main] line #4)\n" +
            more + ":5: error: Unknown command, section [P] line #2: \"Bogus\" is not a command "
                   "of group Misc\n" +
            In("loop.qxs") + ":5: error: Include: section [I] line #2, " + depth +
            ": Include runs nest more than 32 deep here\n");
  // Reports inside an included script carry its path as the Include line gives it; a script
  // that cannot be opened, none.
  EXPECT_EQ(EngineMessageLines(checker_->findings()),
            "always\tPARTS\\More.QXS.\tUnknown command, section [P] line #2\n"
            "always\t\tSection not found\n"
            "always\tloop.qxs\tInclude: section [I] line #2, " + depth + "\n");
}

TEST_F(Checker, AllChecksTheSectionsNoMasterSectionReaches) {
  const std::string script =
      "[Setup]\n"
      "Misc Main\n"
      "[Main]\n"
      "\"Main\" 1\n"
      "NOP\n"
      "[Keys]\n"
      "\"Keys\" 1\n"
      "CreateKey HKCU Software\\A\n"
      "SetDwValue HKCU Software\\A V x\n"
      "[Other]\n"
      "Reg Keys\n"
      "[Notes]\n"
      "just some text\n";
  EXPECT_EQ(Check(script), "");
  CheckSettings all;
  all.all = true;
  EXPECT_EQ(Check(script, all),
            At(6) + "warning: section [Keys] is not reached from the checked master sections; "
                    "checked as a section of group Reg\n" +
            At(9) + "error: Syntax error, section [Keys] line #3 Param #4: Param #4 of "
                    "SetDwValue, \"Data\" (a number): \"x\" is not a number\n" +
            At(10) + "warning: section [Other] is not reached from the checked master "
                     "sections; checked as a master section\n" +
            At(12) + "warning: section [Notes] is not reached from the checked master sections, "
                     "and its lines name no command\n");
}

TEST(CheckCommandLine, OptionsAndRefusals) {
  auto parse = [](std::vector<const char*> args, Options& options, std::string& error) {
    args.insert(args.begin(), "qxicheck");
    return ParseCommandLine(static_cast<int>(args.size()), args.data(), options, error);
  };
  Options options;
  std::string error;
  ASSERT_TRUE(parse({"--section", "A", "a.qxs", "--all", "--deep", "--section", "B",
                     "--evaluated", "C", "--engine-messages", "--", "-b.qxs"},
                    options, error));
  EXPECT_EQ(options.settings.sections, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(options.settings.evaluated, std::vector<std::string>{"C"});
  EXPECT_TRUE(options.settings.all && options.settings.deep && options.engine_messages);
  EXPECT_EQ(options.scripts, (std::vector<std::string>{"a.qxs", "-b.qxs"}));
  Options none;
  EXPECT_FALSE(parse({}, none, error));
  EXPECT_EQ(error, "no script named");
  EXPECT_FALSE(parse({"a.qxs", "--section"}, none, error));
  EXPECT_EQ(error, "--section needs a value");
  EXPECT_FALSE(parse({"-x", "a.qxs"}, none, error));
  EXPECT_EQ(error, "unknown option -x");
}

}  // namespace
}  // namespace qxicheck
