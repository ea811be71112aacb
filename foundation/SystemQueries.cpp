// Machine queries over the platform stand-ins.
#include "foundation/SystemQueries.h"

namespace Lib_Systeme {

std::string GetWinDir() { return platform::system::windowsFolder(); }

}  // namespace Lib_Systeme
