// A procedure's error trap: report the failure with the caller text and go on.
#pragma once

#include <string>
#include <utility>

#include "engine/ErrorTrap.h"

namespace settings {

// The engine's trap under the name the settings windows call it by: one way to report a step.
template <class Body>
void SurErreur(const std::string& caller, Body&& body) {
    engine::Trap(caller, std::forward<Body>(body));
}

}  // namespace settings
