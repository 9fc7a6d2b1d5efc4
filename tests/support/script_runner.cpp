#include "support/script_runner.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/host_callbacks.h"
#include "engine/run_script.h"

namespace qxi_test {
namespace {

namespace fs = std::filesystem;

void QXI_CALL RecordLog(const char* context, const char* message) {
  Recorded().push_back(std::string("log ") + context + " | " + message);
}
void QXI_CALL RecordTitle(const char* text) { Recorded().push_back(std::string("title ") + text); }
void QXI_CALL RecordDialog(const char* text, int number) {
  Recorded().push_back("dialog " + std::string(text) + " " + std::to_string(number));
}
void QXI_CALL RecordSubDialog(const char* text, int number) {
  Recorded().push_back("subdialog " + std::string(text) + " " + std::to_string(number));
}
void QXI_CALL RecordAdvance(int amount) { Recorded().push_back("advance " + std::to_string(amount)); }
void QXI_CALL RecordEvent(int kind, const char* text, unsigned int number) {
  Recorded().push_back("event " + std::to_string(kind) + " " + text + " " +
                       std::to_string(number));
}

// Writes `script` to a new file of `dir` and runs `section` of it with what is registered.
std::vector<std::string> RunFile(const TempDir& dir, const std::string& script,
                                 const char* section, std::string* path) {
  static int serial = 0;
  std::string file = dir.Write("script" + std::to_string(++serial) + ".qxs", script);
  if (path != nullptr) *path = file;
  qxi::RunScript(file.c_str(), section);
  return Recorded();
}

}  // namespace

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("qxi_test_" + std::to_string(std::rand()) + "_" +
                                 std::to_string(counter++));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      break;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& contents) const {
  fs::path file = fs::path(path_) / name;
  std::ofstream out(file, std::ios::binary);
  out << contents;
  return file.string();
}

std::vector<std::string>& Recorded() {
  static std::vector<std::string> calls;
  return calls;
}

void RecordEngineCallbacks() {
  qxi::RegisterLog(RecordLog);
  qxi::RegisterDialogTitle(RecordTitle);
  qxi::RegisterDialog(RecordDialog);
  qxi::RegisterSubDialog(RecordSubDialog);
  qxi::RegisterAdvance(RecordAdvance);
  qxi::RegisterEvent(nullptr);
  Recorded().clear();
}

std::vector<std::string> RunText(const TempDir& dir, const std::string& script,
                                 const char* section, std::string* path) {
  RecordEngineCallbacks();
  return RunFile(dir, script, section, path);
}

std::vector<std::string> RunTextWithEvents(const TempDir& dir, const std::string& script,
                                           const char* section, std::string* path) {
  RecordEngineCallbacks();
  qxi::RegisterEvent(RecordEvent);
  return RunFile(dir, script, section, path);
}

std::string Lines(const std::vector<std::string>& calls) {
  std::ostringstream out;
  for (const auto& call : calls) out << "  " << call << "\n";
  return out.str();
}

}  // namespace qxi_test
