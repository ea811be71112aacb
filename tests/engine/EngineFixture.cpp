// The engine test fixture: SocketWrench receivers by default, a fresh window for every test.
#include "tests/engine/EngineFixture.h"

#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"

namespace enginetest {

void EngineTest::SetUp() {
    PbLVersionOS = 10;
    neighbours::registerFrm_Main(&mainWindow);
    engine();
    page();
}

void EngineTest::TearDown() {
    Abandon = false;
    if (Frm_MainBis::exists()) Frm_MainBis::get().Unload();
    neighbours::registerFrm_Main(nullptr);
}

void EngineTest::setRow(int16_t i, const std::string& ip, const std::string& port) {
    page().TexteUDPIPSource[size_t(i)]->SetText(ip);
    page().TexteUDPPortSource[size_t(i)]->SetText(port);
}

quint16 EngineTest::bindRow(int16_t i) {
    engine().BindSocketWrenchUDPIn(i, "127.0.0.1", 0, "test");
    const quint16 port = quint16(engine().SocketWrenchUDPIn[size_t(i)].LocalPort());
    EXPECT_NE(port, 0);
    setRow(i, "127.0.0.1", std::to_string(port));
    return port;
}

std::vector<std::string> EngineTest::logLines(const std::string& fragment) const {
    std::vector<std::string> found;
    for (const std::string& line : logbuffers::earlyBuffer())
        if (line.find(fragment) != std::string::npos) found.push_back(line);
    return found;
}

void EngineTest::clearLog() { logbuffers::earlyBuffer().clear(); }

int EngineTest::totalQueued() const {
    int total = 0;
    for (const auto& queue : engine().ListeDataArrival) total += queue.ListCount();
    return total;
}

}  // namespace enginetest
