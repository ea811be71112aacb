// What the rest of the program reads of the settings pages, registered as soon as one is loaded.
#pragma once

namespace settings {

void registerServices();
void unregisterServices();

}  // namespace settings
