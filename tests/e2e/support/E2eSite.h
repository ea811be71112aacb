// A fixture site for the real program: a temporary C: root holding the program's own copy,
// the family files, one base with its stations on loopback ports, and its data folder.
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
    explicit E2eSite(int stations = 2);

    const std::filesystem::path& root() const { return drive_.root(); }
    std::filesystem::path host(const std::string& windowsPath) const { return drive_.host(windowsPath); }
    std::filesystem::path programFolder() const { return host("C:\\Vantremo\\Aerolune\\"); }
    std::filesystem::path dataFolder() const { return host("C:\\AL_Data\\"); }
    std::filesystem::path logFolder() const { return host("C:\\AudioLog\\Histo_AL3_Relaytone\\"); }
    std::filesystem::path positionsFile() const {
        return host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\AL3_Relaytone_Positions.Ini");
    }
    // The receive port of station n (from 1).
    uint16_t port(int station) const { return ports_.at(station - 1); }

    // The automation's side: the base's files, and player messages left in a station's file.
    void createDataFiles() const;
    void addPlayerMessage(int station, const std::string& key, const std::string& nature,
                          const std::string& text) const;
    // Whether the station's file still holds a record.
    bool playerMessagesLeft(int station) const;

private:
    support::TempDriveC drive_;
    std::vector<uint16_t> ports_;
};

// A free UDP port on 127.0.0.1 (bound once, then released).
uint16_t freeUdpPort();

}  // namespace e2e
