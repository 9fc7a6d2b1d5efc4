// qxibundle's work once its inputs are read: the stub gets the product's resources, then the
// settings, the engine and the setup folder's files follow as entries, each imploded when
// that makes it smaller and stored as it is otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/byte_source.h"
#include "bundle_settings.h"
#include "bundle_writer.h"

namespace qxibundle {

/// A file of the setup folder: where to read it and its name below the folder.
struct FolderFile {
  std::string disk_path;
  std::string name;  ///< relative, backslashes between parts
};

/// Everything a setup is made of.
struct BundleInputs {
  std::vector<uint8_t> stub;    ///< the stub program, without resources
  std::vector<uint8_t> engine;  ///< QXI.dll for the same processor
  std::vector<uint8_t> icon;    ///< an .ico file's bytes, or empty
  BundleSettings settings;
  std::vector<FolderFile> files;  ///< in the order they are stored
};

/// An entry's header and stored bytes: the implode stream when it is shorter than `data`,
/// else `data` itself.
struct PackedEntry {
  EntryHeader header;
  std::vector<uint8_t> stored;
};
PackedEntry PackEntry(EntryRole role, const std::vector<uint8_t>& data);

/// Writes the setup to `sink`: the stub with its resource section, then the settings, the
/// engine and every file, then the trailer. Reads each file when its turn comes. Throws
/// BundleError when the stub and the engine are not for the same processor or the stub
/// cannot take the resources, and std::runtime_error naming a file that cannot be read.
void BuildBundle(const BundleInputs& inputs, BundleSink& sink);

/// What --list prints of a checked bundle: a line for the image, one per entry, one for the
/// trailer, each "PART OFFSET STORED METHOD SIZE NAME" in columns, and the file size.
std::string ListBundle(qxi::ByteSource& file);

}  // namespace qxibundle
