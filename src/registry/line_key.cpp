#include "registry/line_key.h"

#include "registry/root_key_param.h"

namespace qxi {

RegKey LineRoot(const ParamList& params, size_t root) {
  const auto& root_param = dynamic_cast<const RootKeyParam&>(params.at(root));
  return RegKey(PredefinedKey(root_param.RootHandle()));
}

RegKey CreateLineKey(const ParamList& params, size_t root) {
  return LineRoot(params, root).Create(params.Text(root + 1));
}

RegKey OpenLineKey(const ParamList& params, size_t root) {
  return LineRoot(params, root).Open(params.Text(root + 1));
}

}  // namespace qxi
