// Puts LC_NUMERIC back to "C" after Qt has applied the environment's locale.
#include "platform/NumericLocale.h"

#include <clocale>

namespace platform {

void keepNumbersInC() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace platform
