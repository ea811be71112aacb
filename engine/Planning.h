// The engine window's weekly planning: the player's [Planning] keys laid out in three sheets of
// seven days (Frm_MainBis::InitPlanning and InitPlanning_Grid live in Planning.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace engine {

// The French day name, 1 for Monday to 7 for Sunday; length 3 gives "Lun" to "Dim", any other
// the long form; empty outside 1 to 7.
std::string LibJour(int16_t jour, int16_t lengthValue);

// The player's settings file in the family configuration folder: "AL3_Player.ini", then
// "AL3_Player_A.ini" to "AL3_Player_H.ini", the first that exists and is not empty; when none
// does, the last one tried.
std::string playerFile(const std::string& configFolder);

}  // namespace engine
