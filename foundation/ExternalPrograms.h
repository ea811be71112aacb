// Outside programs: start one through the platform's starter, wait for one, end a previous copy.
#pragma once

#include <cstdint>
#include <string>

// The title under which the program's window is published for the previous-instance test
// (the shell publishes it only after the test, so that the test never finds this copy).
inline const std::string PbSTitreApplication = "AL3_Relaytone";

namespace Lib_Systeme {

// What a refused start is reported as: the error number and its French description.
struct ShellRefusal {
    int32_t number;  // application errors are 0x80040000 + 1048 + the shell's code
    std::string description;
};
ShellRefusal shellRefusalForCode(int32_t shellCode);

// Starts a program or document with its parameters (split as Windows programs read them, never
// by a shell) in the folder; returns the shell's code: above 32 when started, else the failure,
// which is reported here (53 as a log line, the others through the error reporter).
int32_t ExecuterProgrammeExterne(const std::string& verb, const std::string& file,
                                 const std::string& parameters, const std::string& folder,
                                 int32_t showCommand);

// The process's exit code, or 259 when the wait ended while it still runs. A positive time-out
// (ms) limits the wait; 0 or negative waits until the process ends or the program is quitting.
// The user interface keeps processing its events meanwhile.
int32_t AttenteFinProcessusExterne(int32_t processId, int32_t& timeoutMs);

}  // namespace Lib_Systeme

namespace Lib_Public {

// Another copy running: in message mode (endingMode false) tells the user and returns false; in
// ending mode asks it to quit up to ten times, waiting between the passes, ends a copy that
// survives them by its process id, and returns true.
bool TesterPrevInstance(bool& endingMode, int32_t& waitMs);

}  // namespace Lib_Public
