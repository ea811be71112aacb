// The settings window and its pages taken down between tests.
#pragma once

namespace settings_test {

// Unloads the settings window and its pages and forgets them, as at the end of a run: a window
// shown once must not outlive the test.
void unloadSettingsWindows();

}  // namespace settings_test
