// The native build touches no system: no command of the later subsystems has an action here.
#include "engine/command_actions.h"

namespace qxi {

CommandAction FindSystemAction(std::string_view, std::string_view) { return nullptr; }

}  // namespace qxi
