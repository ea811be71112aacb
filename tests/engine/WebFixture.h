// The engine window on a manual clock, a main window stand-in with a caption, and the log.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QObject>

#include "engine/Frm_MainBis.h"
#include "foundation/NeighbourServices.h"
#include "tests/support/TempSite.h"

namespace webtest {

inline const std::string kCaption = "Aerolune: Relaytone - 2026.1210.0930 - Radio Test";

class CaptionedMainWindow : public neighbours::Frm_MainServices {
public:
    std::string Caption() override { return kCaption; }
    int32_t hWnd() override { return 4242; }
};

class EngineWindowTest : public support::SiteTest {
protected:
    void SetUp() override;
    void TearDown() override;

    Frm_MainBis& engine() const { return Frm_MainBis::get(); }
    std::vector<std::string> logLines(const std::string& fragment) const;
    int logCount(const std::string& fragment) const { return int(logLines(fragment).size()); }
    // Runs the action after the given real-time delay, once the show under test is waiting.
    void later(int milliseconds, std::function<void()> action);

    CaptionedMainWindow mainWindow;
    QObject context;  // pending actions die with the test
};

}  // namespace webtest
