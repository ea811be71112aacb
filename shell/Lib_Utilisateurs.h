// Users and rights: whether the site requires a current user.
#pragma once

namespace Lib_Utilisateurs {

// [DroitsUsers] "Actif" of base 0's AL3_Systeme.ini, read once per run: anything but "0".
bool UserObligatoire();

}  // namespace Lib_Utilisateurs
