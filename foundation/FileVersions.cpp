// The version record compiled into our executables, and the reading of it from a file on disk.
#include "foundation/FileVersions.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "foundation/Conversions.h"
#include "platform/AtomicFile.h"
#include "platform/WinPath.h"

#include "BuildStamp.h"

namespace {

// The record's bytes as they lie in the executable; VersionFichier looks for its opening mark.
// The values are written as "key=value" lines so that no layout is needed to read them.
[[gnu::used]] const char kRecord[] =
    "\x01"
    "AL3_VERSION_RECORD\n"
    "Stamp=" AL3_BUILD_STAMP
    "\n"
    "ProductName=AL3_Relaytone\n"
    "CompanyName=Aerolune\n"
    "FileDescription=AL3_Relaytone\n"
    "\x02";

// Spelt shifted by one so that the reader's own code never holds the mark it looks for.
std::string markOfRecord() {
    std::string mark = "BM4`WFSTJPO`SFDPSE";
    for (char& c : mark) c = char(c - 1);
    return "\x01" + mark + "\n";
}

std::string valueOf(const std::string& record, const std::string& key) {
    const auto at = record.find("\n" + key + "=");
    if (at == std::string::npos) return {};
    const auto start = at + key.size() + 2;
    return record.substr(start, record.find('\n', start) - start);
}

int32_t digits(const std::string& text, size_t from, size_t count) {
    int32_t value = 0;
    for (size_t i = from; i < from + count && i < text.size(); ++i)
        if (text[i] >= '0' && text[i] <= '9') value = value * 10 + (text[i] - '0');
    return value;
}

// "YYYYMMDDhhmm" into the three numbers the version carries.
VersionRecord parseRecord(const std::string& record) {
    const std::string stamp = valueOf(record, "Stamp");
    VersionRecord out;
    out.major = digits(stamp, 0, 4);
    out.minor = digits(stamp, 4, 2) * 100 + digits(stamp, 6, 2);
    out.revision = digits(stamp, 8, 2) * 100 + digits(stamp, 10, 2);
    out.productName = valueOf(record, "ProductName");
    out.companyName = valueOf(record, "CompanyName");
    out.fileDescription = valueOf(record, "FileDescription");
    return out;
}

bool parseDescriptionDate(const std::string& text, platform::LocalClockTime& out) {
    platform::LocalTimeFields f;
    char tail = 0;
    const int n = std::sscanf(text.c_str(), "%2d/%2d/%4d %2d:%2d:%2d%c", &f.day, &f.month, &f.year, &f.hour,
                              &f.minute, &f.second, &tail);
    if (n != 3 && n != 6) return false;
    if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.hour > 23 || f.minute > 59 ||
        f.second > 59 || f.hour < 0 || f.minute < 0 || f.second < 0)
        return false;
    out = platform::timeOf(f);
    return true;
}

}  // namespace

namespace Lib_Systeme {

const VersionRecord& VersionApplicationRecord() {
    static const VersionRecord record = parseRecord(std::string(kRecord, sizeof kRecord - 1));
    return record;
}

platform::LocalClockTime DateOfVersion(const VersionRecord& record) {
    if (record.major >= 2000) {
        const std::string minor = Lib_Public::N2S(record.minor, 4, 0, "0");
        const std::string revision = Lib_Public::N2S(record.revision, 4, 0, "0");
        // Parts beyond their range carry over, as calendar arithmetic does.
        int month = digits(minor, 0, 2);
        int year = record.major + (month - 1) / 12;
        month = (month - 1) % 12 + 1;
        if (month < 1) month = 1;
        platform::LocalTimeFields f{.year = year, .month = month, .day = 1};
        return platform::timeOf(f) + std::chrono::days(digits(minor, 2, 2) - 1) +
               std::chrono::hours(digits(revision, 0, 2)) + std::chrono::minutes(digits(revision, 2, 2));
    }
    platform::LocalClockTime described;
    if (parseDescriptionDate(record.fileDescription, described)) return described;
    return platform::timeOf({.year = 2000, .month = 1, .day = 1});
}

platform::LocalClockTime DateApplication() { return DateOfVersion(VersionApplicationRecord()); }

std::string VersionApplication() { return VersionText(DateApplication()); }

std::string VersionText(platform::LocalClockTime buildMoment) {
    const platform::LocalTimeFields f = platform::fieldsOf(buildMoment);
    auto n2s = [](int value, int16_t width) { return Lib_Public::N2S(value, width, 0, "0"); };
    return n2s(f.year, 4) + "." + n2s(f.month, 2) + n2s(f.day, 2) + "." + n2s(f.hour, 2) + n2s(f.minute, 2);
}

std::string ProductVersionText(uint32_t mostSignificant, uint32_t leastSignificant) {
    auto n2s = [](int value, int16_t width) { return Lib_Public::N2S(value, width, 0, "0"); };
    return n2s(HIWORD(mostSignificant), 2) + "." + n2s(LOWORD(mostSignificant), 2) + "." +
           n2s(LOWORD(leastSignificant), 3);
}

void VersionFichier(const std::string& filePath) {
    VersionFichierInfos.clear();
    const auto host = platform::winpath::toHost(filePath);
    if (host.empty()) return;
    std::string bytes;
    if (!platform::atomicfile::readAll(host, bytes)) return;
    const auto at = bytes.find(markOfRecord());
    if (at == std::string::npos) return;
    const auto end = bytes.find('\x02', at);
    if (end == std::string::npos) return;
    const VersionRecord record = parseRecord(bytes.substr(at, end - at));
    // The product version is the file version: major.minor.0.revision.
    const uint32_t most = (uint32_t(record.major & 0xFFFF) << 16) | uint32_t(record.minor & 0xFFFF);
    const uint32_t least = uint32_t(record.revision & 0xFFFF);
    VersionFichierInfos = ProductVersionText(most, least);
}

int32_t HIWORD(uint32_t value) { return int32_t(value >> 16); }
int32_t LOWORD(uint32_t value) { return int32_t(value & 0xFFFF); }

}  // namespace Lib_Systeme
