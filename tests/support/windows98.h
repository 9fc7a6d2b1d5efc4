// Test support: a test program that must see the Windows 95 family runs itself again in a
// child process that Wine tells it is Windows 98; the child runs the tests. Wine takes the
// version per program file name from HKCU\Software\Wine\AppDefaults\NAME, value Version.
#pragma once

#include <string>

namespace qxi_test {

/// True when this process sees a system of the 95 family (GetVersionExA's platform).
bool SeesWindows95Family();

/// Makes Wine report Windows 98 to programs whose file name is `program` ("qxirun.exe"),
/// or, with `on` false, what it reports to every other program. Adds a test failure when the
/// setting cannot be made.
void ReportWindows98To(const std::string& program, bool on);

/// Runs this program again, with its command line and standard handles, as a program Wine
/// tells it is Windows 98, and returns the child's exit status. A child that does not see
/// the 95 family ends with status 1 and a message instead of running again.
int RunAgainAsWindows98();

}  // namespace qxi_test
