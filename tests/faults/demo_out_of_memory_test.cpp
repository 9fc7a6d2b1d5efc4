// The allocation-failure sweep over the demo installation: the demo's own setup.qxs runs
// from a medium made here (its files, and its two archives packed with the engine's QXZ
// writer), failing the 1st, 2nd, ... allocation of the run in turn. Every run must return,
// report the failure as "Out of memory", log nothing that a clean run does not, and free all
// it allocated.
//
// The whole sweep takes minutes: by default every k-th allocation fails, with k chosen so
// that about kDefaultRuns runs are made. QXI_OOM_FULL=1 fails every one of them, and
// QXI_OOM_STEP=k sets k.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "archive/qxz_writer.h"
#include "engine/host_callbacks.h"
#include "engine/run_script.h"
#include "oom/failing_allocator.h"
#include "support/script_runner.h"

namespace {

namespace fs = std::filesystem;
using qxi_test::ArmAllocations;
using qxi_test::DisarmAllocations;
using qxi_test::UncountedScope;
using Texts = std::vector<std::string>;

constexpr long long kDefaultRuns = 120;

Texts g_calls;

void QXI_CALL Log(const char* context, const char* message) {
  UncountedScope uncounted;
  g_calls.push_back(std::string(context) + " | " + message);
}
void QXI_CALL Title(const char* text) {
  UncountedScope uncounted;
  g_calls.push_back("title " + std::string(text));
}
void QXI_CALL Dialog(const char* text, int number) {
  UncountedScope uncounted;
  g_calls.push_back("dialog " + std::string(text) + " " + std::to_string(number));
}
void QXI_CALL SubDialog(const char* text, int number) {
  UncountedScope uncounted;
  g_calls.push_back("subdialog " + std::string(text) + " " + std::to_string(number));
}
void QXI_CALL Advance(int amount) {
  UncountedScope uncounted;
  g_calls.push_back("advance " + std::to_string(amount));
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// The demo's folder as this Windows program sees the source tree (through drive Z:).
fs::path DemoFolder() {
  std::string path = std::string("Z:") + QXI_DEMO_DIR;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return fs::path(path);
}

// Packs every file below `folder` into `archive` with `priority`, names relative to `folder`;
// returns the bytes packed.
size_t Pack(const fs::path& folder, uint32_t priority, const fs::path& archive) {
  std::vector<uint8_t> bytes;
  size_t total = 0;
  std::set<fs::path> files;  // a fixed order
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (item.is_regular_file()) files.insert(item.path());
  }
  for (const auto& file : files) {
    const std::string contents = ReadAll(file);
    qxi::QxzFileInfo info;
    info.name = fs::relative(file, folder).string();
    info.attributes = FILE_ATTRIBUTE_ARCHIVE;
    info.file_time = 0x01BD844B65B4C000u;
    info.priority = priority;
    qxi::AppendQxzFile(info, reinterpret_cast<const uint8_t*>(contents.data()), contents.size(),
                       qxi::ImplodeOptions{}, &bytes);
    total += contents.size();
  }
  WriteAll(archive, std::string(bytes.begin(), bytes.end()));
  return total;
}

// The demo's medium in `medium`: its files, its archives and its script with the bytes to
// install filled in. The program run at the end is left out: a stand-in cannot be run, and
// running the real one belongs to the demo's own test.
void MakeMedium(const fs::path& medium) {
  const fs::path demo = DemoFolder();
  size_t payload = 0;
  for (const char* name : {"lumenrt.dll", "readme.txt"}) {
    fs::copy_file(demo / "media" / name, medium / name);
    payload += fs::file_size(medium / name);
  }
  WriteAll(medium / "lumen.exe", "the program's stand-in");
  payload += fs::file_size(medium / "lumen.exe");
  payload += Pack(demo / "payload" / "program", 21, medium / "program.qxz");
  payload += Pack(demo / "payload" / "samples", 1, medium / "samples.qxz");

  std::string script = ReadAll(demo / "setup.qxs");
  script.replace(script.find("PAYLOAD_BYTES"), 13, std::to_string(payload));
  const std::string finish = "Misc Finish";
  script.erase(script.find(finish), finish.size());
  WriteAll(medium / "setup.qxs", script);
}

// Runs section Setup with allocation `fail_at` failing (0: none). The set-up's scratch folder,
// which a run cut short may leave, goes first, so that every run meets the same machine.
Texts RunSetup(const std::string& script, long long fail_at,
               qxi_test::AllocationCounters& counters) {
  char temp[MAX_PATH];
  std::error_code ignored;
  fs::remove_all(fs::path(std::string(temp, GetTempPathA(MAX_PATH, temp))) / "LumenSetup", ignored);
  g_calls.clear();
  ArmAllocations(fail_at);
  qxi::RunScript(script.c_str(), "Setup");
  counters = DisarmAllocations();
  return g_calls;
}

bool Contains(const Texts& lines, const std::string& line) {
  for (const auto& l : lines) {
    if (l == line) return true;
  }
  return false;
}

long long StepFromEnvironment(long long allocations) {
  const char* full = std::getenv("QXI_OOM_FULL");
  if (full != nullptr && std::string(full) == "1") return 1;
  const char* step = std::getenv("QXI_OOM_STEP");
  if (step != nullptr && std::atoll(step) > 0) return std::atoll(step);
  return allocations / kDefaultRuns > 1 ? allocations / kDefaultRuns : 1;
}

TEST(DemoOutOfMemory, EveryFailedAllocationIsReportedAndNothingLeaks) {
  qxi_test::TempDir dir;
  const fs::path medium = fs::path(dir.path()) / "medium";
  fs::create_directory(medium);
  MakeMedium(medium);
  const std::string script = (medium / "setup.qxs").string();
  ASSERT_TRUE(SetCurrentDirectoryA(medium.string().c_str()));  // the script copies from "."

  qxi::RegisterLog(Log);
  qxi::RegisterDialogTitle(Title);
  qxi::RegisterDialog(Dialog);
  qxi::RegisterSubDialog(SubDialog);
  qxi::RegisterAdvance(Advance);
  qxi_test::AllocationCounters counters;
  // The first run installs afresh; every later one takes the upgrade path and sees the same
  // machine, so the second is what an undisturbed run looks like.
  const Texts fresh = RunSetup(script, 0, counters);
  const Texts clean = RunSetup(script, 0, counters);
  const long long allocations = counters.allocations;
  for (const Texts* run : {&fresh, &clean}) {
    for (const auto& call : *run) {
      EXPECT_EQ(call.find(" | "), std::string::npos) << "a clean run logs nothing: " << call;
    }
  }
  ASSERT_EQ(RunSetup(script, 0, counters), clean) << qxi_test::Lines(clean);
  ASSERT_GT(allocations, 100) << qxi_test::Lines(clean);

  const long long step = StepFromEnvironment(allocations);
  const auto start = std::chrono::steady_clock::now();
  long long injected_runs = 0, fail_at = 1;
  for (;; fail_at += step) {
    const Texts calls = RunSetup(script, fail_at, counters);
    EXPECT_EQ(counters.allocations, counters.frees) << "allocation " << fail_at << " failed";
    if (!counters.failed) {
      EXPECT_EQ(calls, clean) << qxi_test::Lines(calls);
      break;
    }
    ++injected_runs;
    // The first report of the run is the failed allocation's. Reports after it may follow
    // from it (a condition whose test ran out of memory is undefined for the lines that use
    // it; a folder that was not made cannot take a file); callbacks other than reports must
    // all be those of a clean run.
    bool reported = false;
    for (const auto& call : calls) {
      const bool is_report = call.find(" | ") != std::string::npos;
      if (is_report && !reported) {
        EXPECT_NE(call.find("Out of memory"), std::string::npos)
            << "allocation " << fail_at << " failed; reported first: " << call;
        reported = true;
      }
      EXPECT_TRUE(is_report || Contains(clean, call))
          << "allocation " << fail_at << " failed; unexpected: " << call;
    }
    EXPECT_TRUE(reported) << "allocation " << fail_at << " failed silently:\n"
                          << qxi_test::Lines(calls);
    ASSERT_LT(fail_at, 10 * allocations) << "the sweep does not end";
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(fail_at, allocations);  // the sweep went past the last allocation of a clean run
  std::printf("%lld allocations in a clean run; %lld runs with a failed allocation (every %lld), "
              "%.1f s\n",
              allocations, injected_runs, step, seconds);
  SetCurrentDirectoryA(dir.path().c_str());  // lets the medium go
}

}  // namespace
