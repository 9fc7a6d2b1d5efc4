// The window messages by which the engine's thread tells the window what happened. Texts
// travel as heap copies: the engine's own texts are valid only during its callback, and the
// window reads them later. The window thread takes ownership of every copy it receives.
#pragma once

#include <windows.h>

#include <string>

namespace qxisetup {

enum SetupMessage : UINT {
  kMsgTitle = WM_APP + 1,  ///< lParam: PostedText* (number unused)
  kMsgSection,             ///< lParam: PostedText*, the header text and number
  kMsgFile,                ///< lParam: PostedText*, the file name and size
  kMsgAdvance,             ///< wParam: the amount
  kMsgLog,                 ///< lParam: PostedText*, "CONTEXT: MESSAGE" (number unused)
  kMsgDone,                ///< the run is over; nothing more follows
};

/// One callback's text and number, allocated with new by the engine's thread.
struct PostedText {
  std::string text;
  int number = 0;
};

}  // namespace qxisetup
