// Facts about the running system.
#pragma once

namespace stelvane {

// Windows NT 6 (Vista) or later; earlier versions keep per-user registrations.
bool isWindowsVistaOrLater();

}  // namespace stelvane
