#include "engine/condition_prefix.h"

#include "engine/params.h"
#include "engine/walk_mode.h"

namespace qxi {

ScriptCursor ReadPrefixName(ScriptCursor cursor, const SectionReader& reader, std::string& name,
                            bool& negate) {
  cursor.Advance();  // past '@'
  negate = false;
  if (!reader.AtEnd(cursor) && *cursor.pos == '!') {
    negate = true;
    cursor.Advance();
  }
  return ReadToken(cursor, reader, name);
}

bool ReadConditionPrefix(ScriptCursor& cursor, const SectionReader& reader,
                         const ConditionMap& conditions) {
  std::string name;
  bool negate = false;
  cursor = ReadPrefixName(cursor, reader, name, negate);
  return CurrentWalkMode().LineRuns(name, negate, conditions, reader);
}

}  // namespace qxi
