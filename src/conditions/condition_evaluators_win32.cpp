// The evaluators of the Windows build: the file tests and the registry tests.
#include "conditions/condition_tests.h"
#include "engine/text_compare.h"
#include "files/file_tests.h"
#include "registry/registry_tests.h"

namespace qxi {
namespace {

struct EvaluatorEntry {
  const char* name;
  ConditionEvaluator evaluate;
};

const EvaluatorEntry kEvaluators[] = {
    {"FileExists", &FileExistsTest},         {"FileSize", &FileSizeTest},
    {"FileLine", &FileLineTest},             {"RegKeyExists", &RegKeyExistsTest},
    {"RegValueExists", &RegValueExistsTest}, {"RegValueDw", &RegValueDwTest},
    {"RegValueStr", &RegValueStrTest},
};

}  // namespace

ConditionEvaluator FindConditionEvaluator(std::string_view name) {
  for (const auto& entry : kEvaluators) {
    if (NamesEqual(entry.name, name)) return entry.evaluate;
  }
  return nullptr;
}

}  // namespace qxi
