#include "registry/key_commands.h"

#include "registry/line_key.h"

namespace qxi {

void CreateKey(const ParamList& params) { CreateLineKey(params, 0); }

void DeleteKey(const ParamList& params) { LineRoot(params, 0).RemoveSubKey(params.Text(1)); }

}  // namespace qxi
