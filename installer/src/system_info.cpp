#include "system_info.h"

#include <windows.h>
#include <versionhelpers.h>

namespace stelvane {

bool isWindowsVistaOrLater() { return IsWindowsVistaOrGreater(); }

}  // namespace stelvane
