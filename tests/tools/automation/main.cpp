// al3-automation: plays the automation's side of a base's record-manager files.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Cp1252.h"
#include "tests/tools/automation/AutomationSide.h"

namespace {

const char* kUsage =
    "usage:\n"
    "  al3-automation create <data-folder> [--stations N] [--files 55,59]\n"
    "      creates the missing files of the base for stations 1 to N (default 1); the files\n"
    "      default to those the program opens: 20 21 22 26 31 32 37 43 44 45 47 55 59\n"
    "  al3-automation insert <data-folder> --station N (--key TEXT | --key-hex HEX)\n"
    "                 [--nature TEXT] --text TEXT\n"
    "      writes one message record to FRADx55 of the station (key up to 16 bytes,\n"
    "      padded with blanks; nature up to 4 characters; text up to 480)\n"
    "  al3-automation fill <data-folder> --station N --count C [--first F] [--nature TEXT]\n"
    "                 [--text TEXT]\n"
    "      writes C messages with the keys 20261210 and F, F+1, ... on eight digits;\n"
    "      the text defaults to \"Message \" and the number\n"
    "  al3-automation hold <file> --ms N\n"
    "      holds the file's write lock for N ms; prints \"locked\" once it holds it\n"
    "Paths are Windows paths (C:\\ is AL3_DRIVE_C). Exit code 0, 1 on a record-manager\n"
    "status (printed), 2 on a usage error.\n";

int usage(const std::string& why) {
    std::cerr << "al3-automation: " << why << "\n" << kUsage;
    return 2;
}

int failed(int status, const std::string& path) {
    std::cerr << "al3-automation: status " << status << ": " << path << "\n";
    return 1;
}

bool hexBytes(const std::string& hex, std::string& out) {
    if (hex.size() % 2 != 0) return false;
    out.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        char* end = nullptr;
        const std::string pair = hex.substr(i, 2);
        const long byte = std::strtol(pair.c_str(), &end, 16);
        if (*end != '\0') return false;
        out += char(byte);
    }
    return true;
}

bool number(const std::map<std::string, std::string>& options, const std::string& name, long fallback,
            long& out) {
    auto it = options.find(name);
    if (it == options.end()) {
        out = fallback;
        return fallback >= 0;
    }
    char* end = nullptr;
    out = std::strtol(it->second.c_str(), &end, 10);
    return !it->second.empty() && *end == '\0' && out >= 0;
}

void printLocked() { std::cout << "locked" << std::endl; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage("a command and a path are needed");
    const std::string command = argv[1];
    const std::string path = argv[2];
    std::map<std::string, std::string> options;
    for (int i = 3; i < argc; i += 2) {
        const std::string name = argv[i];
        if (name.rfind("--", 0) != 0 || i + 1 >= argc) return usage("bad option " + name);
        options[name.substr(2)] = argv[i + 1];
    }
    auto text = [&](const std::string& name, const std::string& fallback) {
        auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    };

    if (command == "create") {
        long stations = 0;
        if (!number(options, "stations", 1, stations) || stations < 1 || stations > 20)
            return usage("--stations takes 1 to 20");
        std::vector<int16_t> files = automation::baseFiles();
        if (options.count("files")) {
            files.clear();
            std::stringstream list(options["files"]);
            for (std::string item; std::getline(list, item, ',');)
                files.push_back(int16_t(std::atoi(item.c_str())));
        }
        std::string failedPath;
        const int16_t status = automation::createBaseFiles(path, int(stations), files, failedPath);
        return status ? failed(status, failedPath) : 0;
    }
    if (command == "insert" || command == "fill") {
        long station = 0, count = 0, first = 0;
        if (!number(options, "station", -1, station) || station < 1 || station > 20)
            return usage("--station takes 1 to 20");
        const std::string nature = text("nature", "");
        std::string key = platform::cp1252::fromUtf8(text("key", ""));
        if (command == "insert") {
            if (options.count("key-hex") && !hexBytes(options["key-hex"], key))
                return usage("--key-hex takes pairs of hexadecimal digits");
            if (key.empty() || !options.count("text")) return usage("insert needs a key and --text");
        } else if (!number(options, "count", -1, count) || !number(options, "first", 1, first)) {
            return usage("fill needs --count (and --first) as whole numbers");
        }
        automation::MessageWriter writer;
        if (int16_t status = writer.open(path, int(station))) return failed(status, writer.path());
        if (command == "insert") {
            const int16_t status = writer.insert(key, nature, options["text"]);
            return status ? failed(status, writer.path()) : 0;
        }
        for (long n = first; n < first + count; ++n) {
            const std::string message = text("text", "Message " + std::to_string(n));
            if (int16_t status = writer.insert(automation::sequenceKey(n), nature, message))
                return failed(status, writer.path());
        }
        return 0;
    }
    if (command == "hold") {
        long ms = 0;
        if (!number(options, "ms", -1, ms)) return usage("hold needs --ms");
        return automation::holdWriteLock(path, int(ms), printLocked) ? 0 : failed(85, path);
    }
    return usage("unknown command " + command);
}
