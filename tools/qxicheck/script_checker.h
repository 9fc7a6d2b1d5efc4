// ScriptChecker: qxicheck's whole check of a set of scripts. Each master section of each
// script is walked in the engine's check mode; then the checks that look at whole files:
// duplicate section names, with --all the sections no master section reaches, and conditions
// that no line uses.
#pragma once

#include <set>
#include <string>

#include "check_mode.h"
#include "findings.h"

namespace qxicheck {

class ScriptChecker {
 public:
  explicit ScriptChecker(CheckSettings settings);

  /// Checks every master section of the settings in the script at `path`; the engine's
  /// reports would carry `context` (the path itself when empty). False when the script
  /// cannot be opened.
  bool Check(const std::string& path, const std::string& context = std::string());

  /// The checks of whole files, once after the last Check.
  void Finish();

  const FindingList& findings() const { return findings_; }
  /// The log contexts of the runs checked: what the engine's reports about each script the
  /// check read would carry (CheckMode::contexts).
  const std::set<std::string>& contexts() const { return mode_.contexts(); }

 private:
  void CheckDuplicates(const CheckedFile& file);
  void CheckUnreached();
  void CheckUnused(const CheckedFile& file);

  CheckSettings settings_;
  FindingList findings_;
  CheckMode mode_;
};

}  // namespace qxicheck
