// Message texts from the module's string table and from FormatMessageA.
#include "engine/message_source.h"

#include <windows.h>

#include <cstring>

namespace qxi {
namespace {

HMODULE g_module = nullptr;

// Owns a buffer that FormatMessageA allocated.
class LocalBuffer {
 public:
  LocalBuffer() = default;
  ~LocalBuffer() {
    if (text_ != nullptr) LocalFree(text_);
  }
  LocalBuffer(const LocalBuffer&) = delete;
  LocalBuffer& operator=(const LocalBuffer&) = delete;
  char** place() { return &text_; }
  const char* get() const { return text_; }

 private:
  char* text_ = nullptr;
};

}  // namespace

void SetMessageModule(void* module) { g_module = static_cast<HMODULE>(module); }

int LoadMessageText(int id, char* buffer, int size) {
  HMODULE module = g_module != nullptr ? g_module : GetModuleHandleA(nullptr);
  if (id < 0 || id > 0xFFFF) return 0;
  return LoadStringA(module, static_cast<UINT>(id), buffer, size);
}

bool LoadWin32ErrorText(uint32_t error, unsigned flags, char* buffer, size_t size) {
  LocalBuffer text;
  DWORD length = FormatMessageA(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, error, 0x400,
                                reinterpret_cast<char*>(text.place()), 0, nullptr);
  if (length == 0 || text.get() == nullptr || size == 0) return false;
  size_t n = length < size - 1 ? length : size - 1;
  std::memcpy(buffer, text.get(), n);
  buffer[n] = '\0';
  return true;
}

}  // namespace qxi
