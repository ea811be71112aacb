// The windows' shared little helpers: progress window, topmost, hourglass, shell bars, sound release.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Window.h"

namespace Lib_Main {

// -1 shows FrmMsg modeless (once; a second show is ignored), any other mode closes it when shown.
// A failure is logged (out of memory) or reported, and the caller goes on.
void AfficherFrmMsg(int16_t mode, const std::string& caller);

}  // namespace Lib_Main

namespace Lib_Public {

// -1 in front of all other windows (Tag "1"), 0 back among them (Tag "0"), anything else nothing.
void AfficherAuDessus(platform::Window& window, int16_t flag);
// The hourglass over the window, drawn at once; the default pointer again.
void SablierOn(platform::Window& window);
void SablierOff(platform::Window& window);
// The Windows taskbar and desktop have no counterpart here: logged, nothing else.
void AfficherBarreDeTache(int16_t show);
void AfficherBureau(int16_t show);
// At shut-down: stops the four players of audio pipe 0 and releases its output, when started.
void CloseSoundRessource();

}  // namespace Lib_Public
