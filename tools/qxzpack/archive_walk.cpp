#include "archive_walk.h"

#include <cstdio>

#include "archive/implode/explode.h"
#include "archive/ncompress_except.h"
#include "archive/qxz_reader.h"
#include "engine/qx_err.h"

namespace qxzpack {
namespace {

std::string Describe(size_t index, const std::string& name, uint64_t offset) {
  char where[80];
  std::snprintf(where, sizeof where, " at offset %llu", static_cast<unsigned long long>(offset));
  std::string text = "entry " + std::to_string(index + 1);
  if (!name.empty()) text += " \"" + name + "\"";
  return text + where;
}

}  // namespace

EntryError::EntryError(const std::string& archive, size_t index, const std::string& name,
                       uint64_t offset, const std::string& what)
    : std::runtime_error(archive + ": " + Describe(index, name, offset) + ": " + what) {}

size_t WalkArchive(ArchiveFileSource& source, const std::string& archive,
                   const std::function<void(size_t, const qxi::QxzEntry&)>& visit) {
  size_t index = 0;
  while (source.Tell() < source.Size()) {
    const uint64_t offset = source.Tell();
    qxi::QxzEntry entry;
    try {
      entry = qxi::ReadQxzEntryFields(source);
    } catch (const qxi::NCompress::Except& e) {
      const std::string what = e.code() == qxi::NCompress::kErrorFileCorrupt
                                   ? "archive ends inside the entry's header or name"
                                   : e.what();
      throw EntryError(archive, index, "", offset, what);
    }
    try {
      qxi::CheckQxzEntry(entry, source.Size());
    } catch (const qxi::NCompress::Except& e) {
      const char* reason = entry.next_offset() > source.Size()
                               ? " (entry runs past the end of the archive)"
                               : " (name is not a relative path inside the destination)";
      throw EntryError(archive, index, entry.info.name, offset, e.what() + std::string(reason));
    }
    visit(index, entry);
    source.Seek(entry.next_offset());
    ++index;
  }
  return index;
}

std::string DecodeFailureText(unsigned explode_result, uint32_t stored_crc,
                              uint32_t computed_crc) {
  const std::string crc_error = qxi::QXErr(qxi::kCrcError).what();
  switch (explode_result) {
    case qxi::kExplodeOk: {
      char text[80];
      std::snprintf(text, sizeof text, " (stored %08X, data gives %08X)",
                    static_cast<unsigned>(stored_crc), static_cast<unsigned>(computed_crc));
      return crc_error + text;
    }
    case qxi::kExplodeBadDictionary:
      return crc_error + " (data names no valid dictionary size)";
    case qxi::kExplodeBadLiteralMode:
      return crc_error + " (data names no valid literal mode)";
    case qxi::kExplodeInputTooShort:
      return crc_error + " (data too short)";
    default:
      return crc_error + " (data ends before its end code)";
  }
}

}  // namespace qxzpack
