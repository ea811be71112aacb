// The C library's numbers stay those of "C" whatever locale the desktop runs.
#pragma once

namespace platform {

// Qt's application object applies the environment's locale to the C library (LC_NUMERIC
// included, so printf("%f") would write "23,54" under fr_FR); every program calls this right
// after making it. Figures meant for the user go through QLocale(), which still follows LANG.
void keepNumbersInC();

}  // namespace platform
