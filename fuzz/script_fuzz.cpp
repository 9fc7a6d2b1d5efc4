// Feeds arbitrary bytes to the section walkers as a script. The first byte chooses the master
// section: the text before the first header, or the section "Main".
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/host_callbacks.h"
#include "engine/run_script.h"

namespace {

// Every callback is exercised: texts are read to their end, as a host would.
size_t g_sink = 0;
void QXI_CALL Log(const char* context, const char* message) {
  g_sink += std::string(context).size() + std::string(message).size();
}
void QXI_CALL Dialog(const char* text, int number) { g_sink += std::string(text).size() + number; }
void QXI_CALL Advance(int amount) { g_sink += amount; }

std::string ScriptPath() {
  static const std::string path = "/tmp/qxi_script_fuzz_" + std::to_string(getpid()) + ".qxs";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qxi::RegisterLog(Log);
  qxi::RegisterDialog(Dialog);
  qxi::RegisterSubDialog(Dialog);
  qxi::RegisterAdvance(Advance);
  const std::string path = ScriptPath();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  const char* section = (size > 0 && (data[0] & 1)) ? "Main" : "";
  qxi::RunScript(path.c_str(), section);
  return 0;
}
