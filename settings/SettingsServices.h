// What the foundation reads of the settings pages, registered while the settings window is loaded.
#pragma once

namespace settings {

void enregistrerServices();
void retirerServices();

}  // namespace settings
