// qxirun's arguments: what each form selects and which ones are refused.
#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qxirun {
namespace {

struct Parsed {
  bool ok;
  Options options;
  std::string error;
};

Parsed Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "qxirun");
  Parsed parsed{false, Options(), std::string()};
  parsed.ok = ParseCommandLine(static_cast<int>(args.size()), args.data(), parsed.options,
                               parsed.error);
  return parsed;
}

TEST(CommandLine, RunFormsChooseScriptSectionLogAndQuiet) {
  Parsed plain = Parse({"setup.qxs"});
  ASSERT_TRUE(plain.ok);
  EXPECT_EQ(plain.options.mode, Options::Mode::kRun);
  EXPECT_EQ(plain.options.script, "setup.qxs");
  EXPECT_EQ(plain.options.name, "Setup");
  EXPECT_EQ(plain.options.log_path, "");
  EXPECT_FALSE(plain.options.quiet);
  EXPECT_FALSE(plain.options.keep_cwd);

  Parsed positional = Parse({"setup.qxs", "Uninstall"});
  ASSERT_TRUE(positional.ok);
  EXPECT_EQ(positional.options.name, "Uninstall");

  Parsed options =
      Parse({"--quiet", "--log", "run.log", "setup.qxs", "--keep-cwd", "--section", "Repair"});
  ASSERT_TRUE(options.ok);
  EXPECT_TRUE(options.options.quiet);
  EXPECT_TRUE(options.options.keep_cwd);
  EXPECT_EQ(options.options.log_path, "run.log");
  EXPECT_EQ(options.options.script, "setup.qxs");
  EXPECT_EQ(options.options.name, "Repair");

  // An empty section name is the engine's "from the start of the file", not a missing one.
  Parsed empty = Parse({"setup.qxs", ""});
  ASSERT_TRUE(empty.ok);
  EXPECT_EQ(empty.options.name, "");

  Parsed dashed = Parse({"--", "-odd.qxs"});
  ASSERT_TRUE(dashed.ok);
  EXPECT_EQ(dashed.options.script, "-odd.qxs");
}

TEST(CommandLine, EvalTakesScriptAndName) {
  Parsed eval = Parse({"--eval", "setup.qxs", "HasOldIni"});
  ASSERT_TRUE(eval.ok);
  EXPECT_EQ(eval.options.mode, Options::Mode::kEvaluate);
  EXPECT_EQ(eval.options.script, "setup.qxs");
  EXPECT_EQ(eval.options.name, "HasOldIni");
  EXPECT_TRUE(Parse({"--help", "whatever"}).ok);
  EXPECT_EQ(Parse({"--help"}).options.mode, Options::Mode::kHelp);
  EXPECT_EQ(Parse({"a.qxs", "-h"}).options.mode, Options::Mode::kHelp);
}

TEST(CommandLine, JournalGoesWithARunAndMakeUninstallTakesJournalAndOut) {
  Parsed run = Parse({"--journal", "j.txt", "setup.qxs"});
  ASSERT_TRUE(run.ok);
  EXPECT_EQ(run.options.mode, Options::Mode::kRun);
  EXPECT_EQ(run.options.journal_path, "j.txt");
  Parsed make = Parse({"--make-uninstall", "j.txt", "uninstall.qxs"});
  ASSERT_TRUE(make.ok);
  EXPECT_EQ(make.options.mode, Options::Mode::kMakeUninstall);
  EXPECT_EQ(make.options.script + " " + make.options.name, "j.txt uninstall.qxs");
  EXPECT_EQ(Parse({"--make-uninstall", "j.txt"}).error, "--make-uninstall needs JOURNAL and OUT");
  EXPECT_EQ(Parse({"--make-uninstall", "--journal", "k", "j", "o"}).error,
            "--journal does not go with --make-uninstall");
  EXPECT_EQ(Parse({"setup.qxs", "--journal"}).error, "--journal needs a value");
  EXPECT_EQ(Parse({"--check", "--make-uninstall", "j", "o"}).error,
            "--check does not go with --make-uninstall");
}

TEST(CommandLine, CheckAndForce) {
  Parsed check = Parse({"--check", "setup.qxs"});
  ASSERT_TRUE(check.ok);
  EXPECT_TRUE(check.options.check);
  EXPECT_FALSE(check.options.force);
  Parsed forced = Parse({"setup.qxs", "--force", "--check"});
  ASSERT_TRUE(forced.ok);
  EXPECT_TRUE(forced.options.check && forced.options.force);
  EXPECT_EQ(Parse({"--force", "a.qxs"}).error, "--force goes with --check");
  EXPECT_EQ(Parse({"--check", "--eval", "a.qxs", "N"}).error, "--check does not go with --eval");
}

TEST(CommandLine, RefusesWhatItCannotMean) {
  EXPECT_EQ(Parse({}).error, "no script named");
  EXPECT_EQ(Parse({"a.qxs", "Setup", "extra"}).error, "too many arguments");
  EXPECT_EQ(Parse({"--verbose", "a.qxs"}).error, "unknown option --verbose");
  EXPECT_EQ(Parse({"a.qxs", "--log"}).error, "--log needs a value");
  EXPECT_EQ(Parse({"--section", "A", "a.qxs", "B"}).error, "the section is named twice");
  EXPECT_EQ(Parse({"--eval", "a.qxs"}).error, "--eval needs SCRIPT and NAME");
  EXPECT_EQ(Parse({"--eval", "--section", "A", "a.qxs", "N"}).error,
            "--section does not go with --eval");
}

}  // namespace
}  // namespace qxirun
