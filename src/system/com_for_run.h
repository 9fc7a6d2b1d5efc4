// COM and OLE for the shortcuts of a run: initialised on the running thread by the first
// shortcut and undone when the run ends, instead of once per shortcut.
#pragma once

#include <objbase.h>

namespace qxi {

/// Initialises OLE and COM on this thread the first time a run asks (later calls of the run
/// give the first answer again) and has both undone, when they succeeded, as the run ends.
/// Returns CoInitialize's result: a failure means the thread cannot have the shell's objects.
HRESULT ComForRun();

}  // namespace qxi
