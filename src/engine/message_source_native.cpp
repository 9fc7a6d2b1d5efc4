// Message texts for the native build: the string table from message_texts.h, no system texts.
#include "engine/message_source.h"

#include <cstring>

#include "resources/message_texts.h"

namespace qxi {
namespace {

const char* const kTexts[] = {QXI_TEXT_1, QXI_TEXT_2, QXI_TEXT_3, QXI_TEXT_4, QXI_TEXT_5,
                              QXI_TEXT_6, QXI_TEXT_7, QXI_TEXT_8, QXI_TEXT_9, QXI_TEXT_10};

}  // namespace

void SetMessageModule(void*) {}

int LoadMessageText(int id, char* buffer, int size) {
  if (id < 1 || id > 10 || size <= 0) return 0;
  size_t n = std::strlen(kTexts[id - 1]);
  if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
  std::memcpy(buffer, kTexts[id - 1], n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

bool LoadWin32ErrorText(uint32_t, unsigned, char*, size_t) { return false; }

}  // namespace qxi
