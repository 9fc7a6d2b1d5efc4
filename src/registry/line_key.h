// The keys that a registry line names: a root chosen by its RootKeyParam and a subkey path
// below it. The commands and the condition tests reach their key through these.
#pragma once

#include <cstddef>

#include "engine/params.h"
#include "registry/reg_key.h"

namespace qxi {

/// A temporary holder of the predefined root named by the RootKeyParam at `root`; closing it
/// closes the predefined handle as any other.
RegKey LineRoot(const ParamList& params, size_t root);

/// Creates (or opens) the subkey path at `root` + 1 under that root, with any missing keys
/// above it, for full access; the root holder is closed before returning. Raises
/// RegKey::Except.
RegKey CreateLineKey(const ParamList& params, size_t root);

/// Opens the existing subkey path at `root` + 1 under that root; the root holder is closed
/// before returning. Raises RegKey::Except (ERROR_FILE_NOT_FOUND for a missing key).
RegKey OpenLineKey(const ParamList& params, size_t root);

}  // namespace qxi
