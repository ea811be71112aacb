// An engine handler's error trap: the failure is reported with the caller text, the run goes on.
#pragma once

#include <string>
#include <utility>

#include "settings/ErrorTrap.h"

namespace engine {

// The settings windows' trap: one way to report a step.
template <class Body>
void Trap(const std::string& caller, Body&& body) {
    settings::onError(caller, std::forward<Body>(body));
}

}  // namespace engine
