// qxzpack create: packs files and directory trees into a new archive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/implode/implode.h"

namespace qxzpack {

/// How each file's literals are coded.
enum class LiteralChoice { kAuto, kText, kBinary };

struct CreateOptions {
  std::string archive;
  std::string base_dir = ".";
  std::vector<std::string> paths;
  unsigned dictionary_size = 4096;
  LiteralChoice literals = LiteralChoice::kAuto;
  qxi::ImplodeEffort effort = qxi::ImplodeEffort::kNormal;
  uint32_t priority = 0;
  bool verbose = false;
};

/// Writes options.archive from the files options.paths name (see CollectSourceFiles). The
/// archive is written beside its final name and renamed into place only when complete, so a
/// failure leaves no partial archive. Throws std::runtime_error naming the file at fault.
void CreateArchive(const CreateOptions& options);

/// True when data looks like text: at least 95 % printable ASCII, tabs and line ends.
bool LooksLikeText(const uint8_t* data, size_t size);

}  // namespace qxzpack
