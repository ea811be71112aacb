// One pass of the program's events inside a wait that runs until something happens.
#pragma once

namespace engine {

// Lets timers, sockets and windows run for up to ms. False once the application has been told
// to end: its event loops then return at once, so a wait that went on would spin for ever and
// the program would never end.
bool passEvents(int ms);

}  // namespace engine
