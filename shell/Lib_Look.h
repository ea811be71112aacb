// The look: style and skin chosen once at start-up, then applied to each window as it loads.
#pragma once

#include <cstdint>

#include "platform/forms/Form.h"

inline int32_t StyleLook = 20;     // 15 skinned, 20 plain
inline int32_t SkinSansTheme = 1;  // 1 while no skin is loaded

namespace Lib_Look {

// No skin component exists yet: the plain look, and the font scale of large-font screens.
void InitGeneralLook(int32_t style);
void LookFenetre(platform::forms::Form& fenetre);

}  // namespace Lib_Look
