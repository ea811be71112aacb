// The settings window and its pages taken down between tests.
#include "tests/settings/SettingsWindows.h"

#include "settings/FrmSetup.h"
#include "settings/FrmSetupDivers.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/FrmSetupSon.h"

namespace settings_test {
namespace {

template <class Window>
void unloadAndForget() {
    if (Window::exists()) Window::get().Unload(platform::forms::vbFormCode);
    Window::release();
}

}  // namespace

void unloadSettingsWindows() {
    unloadAndForget<FrmSetup>();
    unloadAndForget<FrmSetupPeripherique>();
    unloadAndForget<FrmSetupDivers>();
    unloadAndForget<FrmSetupSon>();
}

}  // namespace settings_test
