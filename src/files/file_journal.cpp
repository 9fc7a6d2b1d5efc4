#include "files/file_journal.h"

#include <windows.h>

#include "engine/journal.h"
#include "engine/journal_text.h"
#include "engine/full_path.h"

namespace qxi {

bool IsPresent(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void JournalPath(const char* kind, const std::string& path) {
  if (Journaling()) Journal({kind, FullPathOf(path)});
}

void JournalFileWrite(const std::string& path, bool existed) {
  if (Journaling()) Journal({journal_kind::kFileWrite, FullPathOf(path), BeforeState(existed)});
}

void JournalMove(const char* kind, const std::string& source, const std::string& destination,
                 bool existed) {
  if (!Journaling()) return;
  Journal({kind, FullPathOf(source), FullPathOf(destination), BeforeState(existed)});
}

namespace {

// The attribute letters of `attributes`, as scripts write them.
std::string AttributeLetters(uint32_t attributes) {
  std::string letters;
  if (attributes & FILE_ATTRIBUTE_ARCHIVE) letters += 'A';
  if (attributes & FILE_ATTRIBUTE_HIDDEN) letters += 'H';
  if (attributes & FILE_ATTRIBUTE_READONLY) letters += 'R';
  if (attributes & FILE_ATTRIBUTE_SYSTEM) letters += 'S';
  return letters;
}

}  // namespace

void JournalFolderAttributes(const std::string& path, uint32_t before, uint32_t after) {
  if (!Journaling()) return;
  const std::string old_letters = AttributeLetters(before);
  const std::string new_letters = AttributeLetters(after);
  if (old_letters == new_letters) return;
  Journal({journal_kind::kFolderAttributes, FullPathOf(path), old_letters, new_letters});
}

void JournalRestartReplace(const std::string& destination, const std::string& staged,
                           bool existed) {
  if (!Journaling()) return;
  Journal({journal_kind::kRestartReplace, FullPathOf(destination), FullPathOf(staged),
           BeforeState(existed)});
}

}  // namespace qxi
