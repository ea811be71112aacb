// Seams of the record-manager layer: the engine entry, the retry wait and the end of the process.
#pragma once

#include <cstdint>
#include <functional>

namespace Lib_Data_BTrieve::seams {

using Engine = std::function<int16_t(uint16_t op, char* posBlock, void* data, uint32_t* dataLen, char* key,
                                     uint16_t keyLen, int16_t keyNum)>;

// An empty function restores the real one: the record manager, a real sleep, std::_Exit.
void setEngine(Engine engine);
void setSleep(std::function<void(int32_t milliseconds)> sleep);
void setEndProcess(std::function<void()> endProcess);

int16_t callEngine(uint16_t op, char* posBlock, void* data, uint32_t* dataLen, char* key, uint16_t keyLen,
                   int16_t keyNum);
// The retries' wait blocks the thread, events included.
void sleep(int32_t milliseconds);
// Ends this process only, at once, with status 0 (a quit the operator confirmed): the log's
// buffered lines are written, nothing else of the shut-down runs here.
void endProcess();

}  // namespace Lib_Data_BTrieve::seams
