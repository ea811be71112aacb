#include "foundation/LogBuffers.h"

namespace logbuffers {

std::vector<std::string>& earlyBuffer() {
    static std::vector<std::string> lines;
    return lines;
}

std::vector<std::string>& fileBuffer() {
    static std::vector<std::string> lines;
    return lines;
}

}  // namespace logbuffers
