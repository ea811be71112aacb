// The engine window loaded offscreen with its receivers on loopback, the log it wrote, and a
// main window stand-in that records restart requests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Frm_MainBis.h"
#include "foundation/NeighbourServices.h"
#include "settings/FrmSetupPeripherique.h"
#include "tests/platform/net/LoopbackPeer.h"
#include "tests/support/TempSite.h"

namespace enginetest {

class RecordingMainWindow : public neighbours::Frm_MainServices {
public:
    void RelancerApplication(bool modeTest, const std::string& callerSub) override {
        restarts.emplace_back(modeTest, callerSub);
    }
    std::vector<std::pair<bool, std::string>> restarts;
};

class EngineTest : public support::SiteTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Binds row i on 127.0.0.1 and a port the system chooses, and writes that port into the
    // row's boxes (so that a rebind finds it there); returns the port.
    quint16 bindRow(int16_t i);
    void setRow(int16_t i, const std::string& ip, const std::string& port);

    // Log lines holding the fragment, and their count.
    std::vector<std::string> logLines(const std::string& fragment) const;
    int logCount(const std::string& fragment) const { return int(logLines(fragment).size()); }
    void clearLog();

    // The text reached station's queue (read from the log: the dispatcher may have taken it).
    bool arrived(const std::string& text, int station) const {
        return logCount("UDP: Data arrival Bis: " + text + " |NoStation: " + std::to_string(station)) == 1;
    }
    int queued(int station) const { return engine().ListeDataArrival[size_t(station - 1)].ListCount(); }
    int totalQueued() const;

    Frm_MainBis& engine() const { return Frm_MainBis::get(); }
    FrmSetupPeripherique& page() const { return FrmSetupPeripherique::get(); }

    RecordingMainWindow mainWindow;
};

}  // namespace enginetest
