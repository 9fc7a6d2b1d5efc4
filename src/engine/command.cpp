#include "engine/command.h"

#include "engine/host_callbacks.h"

namespace qxi {

Command::~Command() = default;

void Command::Advance() { Callbacks().advance_dialog(1); }

}  // namespace qxi
