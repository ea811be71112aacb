// The batch runner's window: polls the drop folder and starts each batch file between two boxes.
#pragma once

#include <functional>
#include <string>

#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListBox.h"
#include "platform/forms/Timer.h"

class Frm_Main_RLT_API : public platform::forms::Form {
public:
    Frm_Main_RLT_API();

    static constexpr const char* AppTitle = "AL3_Relaytone_API";  // the program's title

    platform::forms::ListBox* ListeBatch;
    platform::forms::Timer* TimerMain;
    platform::forms::Timer* TimerBis;
    platform::forms::CommandButton* CommandQuitter;
    platform::forms::CommandButton* CommandVeille;

    void TimerMain_Timer();
    void TimerBis_Timer();
    void CommandQuitter_Click();

    // Runs once the window is unloaded: the program ends there.
    std::function<void()> Ended;

protected:
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    bool AskQuit();
    // Unloaded, or a stop nobody attends has begun: no batch file may start any more.
    bool Stopping() const;
    void RunBatch(const std::string& path);

    bool quitting_ = false;
};
