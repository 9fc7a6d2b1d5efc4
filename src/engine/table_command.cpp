#include "engine/table_command.h"

#include "engine/qx_err.h"

namespace qxi {

TableCommand::TableCommand(const CommandDef& def)
    : def_(def), action_(FindCommandAction(def.group, def.name)) {
  for (size_t i = 0; i < def.param_count; ++i) params_.Add(MakeParam(def.params[i]));
}

void TableCommand::Advance() {
  if (def_.progress == Progress::kPerLine) Command::Advance();
}

void TableCommand::Execute() {
  if (action_ == nullptr) throw QXErr(kRunTimeError, kErrorNotSupported);
  action_(params_);
}

}  // namespace qxi
