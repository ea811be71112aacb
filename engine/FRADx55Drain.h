// The player's message file: the walk that reads and deletes a station's records in key
// order, shared by the start-up replay and the five-minute drain.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "btrieve/Records.h"

namespace FRADx55 {

// When the caller's action sees the record: before its delete (the drain logs it) or after
// (the replay hands it on only once it is gone from the file).
enum class Moment { BeforeDelete, AfterDelete };

// Walks station n's file from the low key until end of file, a read failure (reported once), a
// key above the high key or the abort flag; deletes each record read. A failed delete ends the walk with
// one "Err:" line, so a record that cannot be deleted is never taken again and again.
void StationWalk(int16_t noBase, int16_t station, const std::string& caller, const bool& abandon,
                 Moment moment, const std::function<void(const EnregFRADx55&)>& action);

// The message text, trimmed; the nature as stored, trailing blanks kept.
std::string Texte(const EnregFRADx55& enreg);
std::string Nature(const EnregFRADx55& enreg);
// The replay hands a text on unless it is an RDS text ("<RDS:RT>", "<RDS:PS>", any case).
bool needsReplay(const std::string& textValue);

}  // namespace FRADx55

// Frm_MainBis.UDPDataArrival_10_Check_FRADx55: the five-minute drain; records are only logged.
void UDPDataArrival_10_Check_FRADx55(int16_t noBase, int16_t, bool& wasFound);
