// Seeded mutations of scripts and archives for the robustness harness. Everything here is
// free of the system: one case is a pure function of the seed inputs and the case's number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qxi_robust {

/// A small, fast generator whose sequence depends only on its seed.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  /// A number in [0, bound); 0 when bound is 0.
  size_t Below(size_t bound) { return bound == 0 ? 0 : static_cast<size_t>(Next() % bound); }

 private:
  uint64_t state_;
};

/// One file of a case, written into the sandbox under `name`.
struct CaseFile {
  std::string name;
  std::string bytes;
};

/// A case: the files to write and the master section to run from "case.qxs".
struct Case {
  std::vector<CaseFile> files;
  std::string section;
  std::string description;  // the mutations applied, for the report of a failure
};

/// Builds case `number` of the run with `seed` from `scripts` (texts) and `archives`
/// (archive bytes), applying one to four mutations; lines that would show a window, start a
/// program or end the session are replaced by NOP in every script file of the case.
Case MakeCase(uint64_t seed, uint64_t number, const std::vector<std::string>& scripts,
              const std::vector<std::string>& archives);

/// `text` with every piece between line breaks (CR or LF) that holds MessageBox, RunApp,
/// Reboot, Logoff or Shutdown anywhere (any case) replaced by NOP, and every piece naming the
/// host's own file system (a \\?\ or \\.\ path) too.
std::string FilterBlockingLines(const std::string& text);

}  // namespace qxi_robust
