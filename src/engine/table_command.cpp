#include "engine/table_command.h"

#include "engine/qx_err.h"

namespace qxi {

ParamList ParamsOf(const ParamDef (&params)[kMaxParams]) {
  ParamList list;
  for (size_t i = 0; i < ParamCount(params); ++i) list.Add(MakeParam(params[i]));
  return list;
}

TableCommand::TableCommand(const CommandRow& row) : row_(row) { params_ = ParamsOf(row.params); }

void TableCommand::Advance() {
  if (row_.progress == Progress::kPerLine) Command::Advance();
}

void TableCommand::Execute() {
  if (row_.action == nullptr) throw QXErr(kRunTimeError, kErrorNotSupported);
  row_.action(params_);
}

}  // namespace qxi
