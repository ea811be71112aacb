// The launcher's only form: it does all its work while loading and is never shown.
#pragma once

#include <string>

class LauncherLog;

class Frm_Main_Launch {
public:
    // The launcher's own command line, as one text.
    explicit Frm_Main_Launch(std::string commandLine);

    static constexpr const char* Caption = "Relaytone Launcher";

    // Waits, ends the main program, waits, starts it again and logs each step.
    void Form_Load();
    // Ends the other processes of the launcher's own image.
    void Form_Unload();

    // The command line holds the switch, in any letter case, anywhere in its text.
    bool Holds(const std::string& sw) const;

private:
    // Every running copy of the main program is asked to close; one still there after the
    // grace period is killed. Each step is a line of the log.
    void EndMainProgram(LauncherLog& log);

    std::string commandLine_;
};
