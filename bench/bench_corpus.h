// The benchmark corpora, built from files every Debian machine of ours has, in a fixed order,
// so that figures from different runs and machines compare.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qxi {
namespace bench {

constexpr size_t kCorpusBytes = 20u << 20;  ///< each corpus is cut at exactly 20 MiB

/// Text: every file of /usr/share/common-licenses, then the gunzipped pages of
/// /usr/share/man/man1/*.gz until 10 MiB, then the *.h files under /usr/include until 20 MiB;
/// each group sorted by path (byte order). Built once, on first use.
const std::vector<uint8_t>& TextCorpus();

/// ELF programs: the regular files of /usr/bin that start with the ELF magic, sorted by name,
/// concatenated and cut at 20 MiB. Built once, on first use.
const std::vector<uint8_t>& ElfCorpus();

}  // namespace bench
}  // namespace qxi
