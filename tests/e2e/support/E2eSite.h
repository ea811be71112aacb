// A fixture site for the real program: a temporary C: root holding the program's own copy,
// the family files, its bases (each in its own folder, its stations on loopback ports of its
// own) and their data folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempSite.h"

namespace e2e {

class E2eSite {
public:
    // Copies the program and its launcher into C:\Vantremo\Aerolune\.
    explicit E2eSite(int stations = 2, int bases = 1);

    const std::filesystem::path& root() const { return drive_.root(); }
    std::filesystem::path host(const std::string& windowsPath) const { return drive_.host(windowsPath); }
    std::filesystem::path programFolder() const { return host("C:\\Vantremo\\Aerolune\\"); }
    std::filesystem::path dataFolder() const { return host("C:\\AL_Data\\"); }
    std::filesystem::path logFolder() const { return host("C:\\AudioLog\\Histo_AL3_Relaytone\\"); }
    std::filesystem::path positionsFile() const {
        return host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\AL3_Relaytone_Positions.Ini");
    }
    // The receive port of station n of base b (both from 1).
    uint16_t port(int station, int base = 1) const {
        return ports_.at(size_t((base - 1) * stations_ + station - 1));
    }
    // The configuration folder of base b: base 1's is C:\Vantremo\Aerolune\Config\.
    static std::string configFolder(int base);

    // The site's notice mails (start, stop, daily) on: AL3_Config.ini's "Mails_Avis=1".
    void enableNoticeMails() const;

    // The automation's side: the base's files, and player messages left in a station's file.
    void createDataFiles() const;
    void addPlayerMessage(int station, const std::string& key, const std::string& nature,
                          const std::string& text) const;
    // Whether the station's file still holds a record.
    bool playerMessagesLeft(int station) const;

private:
    support::TempDriveC drive_;
    int stations_;
    std::vector<uint16_t> ports_;
};

// A free UDP port on 127.0.0.1 (bound once, then released).
uint16_t freeUdpPort();

}  // namespace e2e
