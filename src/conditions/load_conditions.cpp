// Loading a script's conditions. Until the condition tests exist, no script has any: every
// run starts with an empty map.
#include "engine/qx_err.h"
#include "engine/script_file.h"

namespace qxi {

ConditionMap ScriptFile::LoadConditions() const { throw QXErr(kSectionNotFound); }

}  // namespace qxi
