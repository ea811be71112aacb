// Users and rights: the current user chosen in the family's user program, right 32 (the
// settings), the user program started on request, and whether the site requires a user.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct InfoUtilisateur {
    std::string userId;
    std::string userName;
    std::string rightsText;  // one character per right, right 1 first
    bool loaded = false;
    std::array<int16_t, 48> rights{};      // rights 1 to 48, rights[0] is right 1
    std::array<int16_t, 20> moreRights{};  // rights 49 to 68
};

inline InfoUtilisateur PbTUtilisateurEnCours;
inline std::string PbSUtilisateurBouton;  // the button the user program was left with

namespace Lib_Utilisateurs {

inline const std::string kUserKey = "Software\\Vantremo\\Aerolune\\User";
inline constexpr int kOptionsRight = 32;

// Right n (1 to 68) of a user; 0 for any other n.
int16_t right(const InfoUtilisateur& user, int n);

// Loads the current user and rights from the registry into the main window's menu; refuse comes
// back true when a user is there without right 32 (the box says so unless the user program was
// left with "Fermer" and showMessage is false).
void GestionDroitsUser(bool& refuse, bool showMessage);
// Runs the user program (main window hidden meanwhile), then reloads the rights; refuse comes
// back true when the program is missing or cannot start, when the user lacks right 32, or when
// a user is required and none was chosen. Returns whether the user program ran.
bool SelectUser(bool& refuse);
// [DroitsUsers] "Actif" of base 0's AL3_Systeme.ini, read once per run: anything but "0".
bool UserObligatoire();

// Back to the start of the process: no current user, the requirement read again.
void resetUsers();

}  // namespace Lib_Utilisateurs
