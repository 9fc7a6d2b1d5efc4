// Fails every allocation of a script run in turn, from the first until a run completes
// without reaching the armed one. Each run must return, report the failure as "Out of memory"
// (never as anything else), log nothing that a clean run would not, and free all it allocated.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/host_callbacks.h"
#include "engine/run_script.h"
#include "oom/failing_allocator.h"
#include "support/script_runner.h"

namespace {

using qxi_test::ArmAllocations;
using qxi_test::DisarmAllocations;
using qxi_test::UncountedScope;

std::vector<std::string> g_calls;

void QXI_CALL Log(const char* context, const char* message) {
  UncountedScope uncounted;
  g_calls.push_back(std::string(context) + " | " + message);
}
void QXI_CALL Dialog(const char* text, int number) {
  UncountedScope uncounted;
  g_calls.push_back("dialog " + std::string(text) + " " + std::to_string(number));
}
void QXI_CALL Advance(int amount) {
  UncountedScope uncounted;
  g_calls.push_back("advance " + std::to_string(amount));
}

// Parsing of every kind, a Conditions section, a condition prefix, an unknown command, a
// missing section and a nested Include: the paths of a run that allocate.
const char kMainScript[] =
    "[Setup]\r\n"
    "Misc Greeting Missing\r\n"
    "@!Undefined Misc Greeting\r\n"
    "Misc Nested\r\n"
    "[Greeting]\r\n"
    "\"Saying hello\" 3\r\n"
    "NOP ; a comment\r\n"
    "Bogus \"quoted \"\" text\"\r\n"
    "NOP\r\n"
    "[Nested]\r\n"
    "Nested 1\r\n"
    "Include \"INCLUDED\" Inner\r\n"
    "[Conditions]\r\n"
    "FileExists Included \"INCLUDED\"\r\n"
    "FileLine HasInner \"INCLUDED\" [inner]\r\n";

const char kIncludedScript[] =
    "[Inner]\r\n"
    "Misc Work\r\n"
    "[Work]\r\n"
    "Work 2\r\n"
    "NOP\r\n"
    "Unknown 1 2\r\n";

// Runs the script with allocation `fail_at` failing (0: none); what it counted comes back in
// `counters`.
std::vector<std::string> RunMain(const std::string& path, long long fail_at,
                                 qxi_test::AllocationCounters& counters) {
  g_calls.clear();
  ArmAllocations(fail_at);
  qxi::RunScript(path.c_str(), "Setup");
  counters = DisarmAllocations();
  return g_calls;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  for (const auto& l : lines) {
    if (l == line) return true;
  }
  return false;
}

TEST(OutOfMemory, EveryFailedAllocationIsReportedAndNothingLeaks) {
  qxi_test::TempDir dir;
  std::string included = dir.Write("included.qxs", kIncludedScript);
  std::string main_text = kMainScript;
  for (size_t at; (at = main_text.find("INCLUDED")) != std::string::npos;) {
    main_text.replace(at, 8, included);
  }
  std::string path = dir.Write("main.qxs", main_text);

  qxi::RegisterLog(Log);
  qxi::RegisterDialog(Dialog);
  qxi::RegisterAdvance(Advance);
  qxi_test::AllocationCounters counters;
  const std::vector<std::string> clean = RunMain(path, 0, counters);  // also fills lazily made state
  ASSERT_EQ(clean.size(), 11u) << qxi_test::Lines(clean);

  long long injected_runs = 0;
  for (long long fail_at = 1;; ++fail_at) {
    std::vector<std::string> calls = RunMain(path, fail_at, counters);
    EXPECT_EQ(counters.allocations, counters.frees) << "allocation " << fail_at << " failed";
    if (!counters.failed) {
      EXPECT_EQ(calls, clean);
      break;
    }
    ++injected_runs;
    bool reported = false;
    for (const auto& call : calls) {
      bool out_of_memory = call.find("Out of memory") != std::string::npos;
      reported = reported || out_of_memory;
      EXPECT_TRUE(out_of_memory || Contains(clean, call))
          << "allocation " << fail_at << " failed; unexpected: " << call;
    }
    EXPECT_TRUE(reported) << "allocation " << fail_at << " failed silently:\n"
                          << qxi_test::Lines(calls);
    ASSERT_LT(fail_at, 100000) << "the sweep does not end";
  }
  EXPECT_GT(injected_runs, 50);
  std::printf("%lld allocations failed in turn\n", injected_runs);
}

}  // namespace
