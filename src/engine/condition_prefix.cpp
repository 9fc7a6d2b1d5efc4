#include "engine/condition_prefix.h"

#include "engine/params.h"
#include "engine/qx_err.h"

namespace qxi {

bool ReadConditionPrefix(ScriptCursor& cursor, const SectionReader& reader,
                         const ConditionMap& conditions) {
  cursor.Advance();  // past '@'
  bool negate = false;
  if (!reader.AtEnd(cursor) && *cursor.pos == '!') {
    negate = true;
    cursor.Advance();
  }
  std::string name;
  cursor = ReadToken(cursor, reader, name);
  auto found = conditions.find(name);
  if (found == conditions.end()) throw QXErr(kUndefinedCondition);
  return found->second != negate;
}

}  // namespace qxi
