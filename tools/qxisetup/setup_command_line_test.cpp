// qxisetup's arguments: script, section, --auto-close, and what is refused.
#include "setup_command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace qxisetup {
namespace {

bool Parse(std::vector<const char*> args, SetupOptions& options, std::string& error) {
  args.insert(args.begin(), "qxisetup");
  return ParseSetupCommandLine(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(SetupCommandLine, ScriptSectionAndAutoClose) {
  SetupOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"C:\\setup.qxs"}, options, error));
  EXPECT_EQ(options.script, "C:\\setup.qxs");
  EXPECT_EQ(options.section, "Setup");
  EXPECT_FALSE(options.auto_close);

  EXPECT_FALSE(options.keep_cwd);
  EXPECT_FALSE(options.help);

  SetupOptions closing;
  ASSERT_TRUE(Parse({"setup.qxs", "--auto-close", "Repair", "--keep-cwd"}, closing, error));
  EXPECT_EQ(closing.section, "Repair");
  EXPECT_TRUE(closing.auto_close);
  EXPECT_TRUE(closing.keep_cwd);

  for (const char* help : {"--help", "-h"}) {
    SetupOptions asking;
    ASSERT_TRUE(Parse({"a.qxs", "b", "c", help}, asking, error)) << help;
    EXPECT_TRUE(asking.help) << help;
  }
}

TEST(SetupCommandLine, RefusesMissingExtraAndUnknown) {
  SetupOptions options;
  std::string error;
  EXPECT_FALSE(Parse({"--auto-close"}, options, error));
  EXPECT_EQ(error, "no script named");
  EXPECT_FALSE(Parse({"a.qxs", "Setup", "more"}, options, error));
  EXPECT_EQ(error, "too many arguments");
  EXPECT_FALSE(Parse({"--autoclose", "a.qxs"}, options, error));
  EXPECT_EQ(error, "unknown option --autoclose");
}

}  // namespace
}  // namespace qxisetup
