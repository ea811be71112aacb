// The launcher's monthly log beside itself: "AL3_Relaytone_Launcher_YYYY-MM.Log", appended.
#pragma once

#include <fstream>
#include <string>

class LauncherLog {
public:
    // Opens (creates when missing) the file of the current month; a failure leaves it closed.
    LauncherLog();

    void WriteLine(const std::string& text);   // Windows-1252, CRLF, written at once
    void WriteDated(const std::string& text);  // "YYYY-MM-DD HH:MM:SS" & text
    void Close() { file_.close(); }

private:
    std::ofstream file_;
};
