// Audio output without a device: the calls are recorded and nothing starts.
#include "engine/Lib_DirectX.h"

namespace Lib_DirectX {

std::vector<std::string>& calls() {
    static std::vector<std::string> made;
    return made;
}

void InitDirectXOut(int16_t noPipe, const std::string& sectionPrefix) {
    calls().push_back("InitDirectXOut(" + std::to_string(noPipe) + "," + sectionPrefix + ")");
    if (pendantDemarrage) pendantDemarrage();
}

void DirectXPipeSetLevelOut(int16_t noPipe) {
    calls().push_back("DirectXPipeSetLevelOut(" + std::to_string(noPipe) + ")");
}

}  // namespace Lib_DirectX
