// The engine window loaded offscreen, its mail controls pointed at a loopback SMTP server, a
// main window that only gives its caption, and a manual clock at 31/01/2024 01:20:00.
#pragma once

#include <string>
#include <vector>

#include "engine/Frm_MainBis.h"
#include "foundation/NeighbourServices.h"
#include "tests/platform/mail/SmtpPeer.h"
#include "tests/support/TempSite.h"

namespace mailtest {

class CaptionedMainWindow : public neighbours::Frm_MainServices {
public:
    std::string caption = "AEROLUNE: Relaytone - aerolune: Radio Test";
    std::string Caption() override { return caption; }
};

class MailTest : public support::SiteTest {
protected:
    // The machine started 2 days 3 h 14 min 5 s ago, the program one hour ago.
    static constexpr int64_t kUptimeMs = (((2 * 24 + 3) * 60 + 14) * 60 + 5) * 1000LL;

    MailTest();
    void SetUp() override;
    void TearDown() override;

    Frm_MainBis& engine() const { return Frm_MainBis::get(); }
    std::vector<std::string> logLines(const std::string& fragment) const;
    int logCount(const std::string& fragment) const { return int(logLines(fragment).size()); }
    // A message's body split at its line ends.
    static std::vector<std::string> bodyLines(const QJsonObject& message);

    SmtpPeer peer;
    CaptionedMainWindow mainWindow;
};

}  // namespace mailtest
