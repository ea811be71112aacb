// The real engine, wait and process end behind the seams.
#include "btrieve/Seams.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "foundation/DailyLog.h"
#include "platform/btrcall/Btrcall.h"

namespace Lib_Data_BTrieve::seams {
namespace {

Engine& engine() {
    static Engine e;
    return e;
}
std::function<void(int32_t)>& sleeper() {
    static std::function<void(int32_t)> s;
    return s;
}
std::function<void()>& ender() {
    static std::function<void()> e;
    return e;
}

}  // namespace

void setEngine(Engine e) { engine() = std::move(e); }
void setSleep(std::function<void(int32_t)> s) { sleeper() = std::move(s); }
void setEndProcess(std::function<void()> e) { ender() = std::move(e); }

int16_t callEngine(uint16_t op, char* posBlock, void* data, uint32_t* dataLen, char* key, uint16_t keyLen,
                   int16_t keyNum) {
    if (engine()) return engine()(op, posBlock, data, dataLen, key, keyLen, keyNum);
    return platform::btrcall::BTRCALL(op, posBlock, data, dataLen, key, keyLen, keyNum);
}

void sleep(int32_t milliseconds) {
    if (sleeper()) return sleeper()(milliseconds);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void endProcess() {
    if (ender()) return ender()();
    // The operator's confirmed quit: the shut-down has run, only the buffered lines are left.
    Lib_Public::TraceLogForce("Lib_Data_BTrieve_2:ErreurBTrieve");
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace Lib_Data_BTrieve::seams
