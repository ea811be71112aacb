// Fakes of the settings, engine and main windows that record what the foundation asks of them.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "foundation/NeighbourServices.h"

namespace fakes {

struct Mail {
    std::string to, message, title;
    bool technical;
};

class Settings : public neighbours::FrmSetupServices {
public:
    std::string recipients = "ops@example.test";
    std::array<int16_t, 6> checkEmail{};
    int16_t dayCountIndex = -1;

    std::string TexteEmailsAdresses() override { return recipients; }
    int16_t CheckEmail(int16_t index) override {
        return index >= 0 && index < 6 ? checkEmail[size_t(index)] : 0;
    }
    int16_t ComboNbJourPoste_ListIndex() override { return dayCountIndex; }
};

class Engine : public neighbours::Frm_MainBisServices {
public:
    std::vector<Mail> mails;
    std::function<void()> duringMail;

    void EnvoiMail(bool, const std::string& to, const std::string& message, const std::string& title,
                   bool technical) override {
        mails.push_back({to, message, title, technical});
        if (duringMail) duringMail();
    }
};

class Main : public neighbours::Frm_MainServices {
public:
    explicit Main(int16_t lists = 1) : incidents(size_t(lists)) {}
    std::vector<std::vector<std::string>> incidents;
    std::vector<int16_t> alerts;  // indexes whose CheckIncidents was set to 1
    std::vector<std::string> exports;
    std::vector<std::string> restarts;

    int16_t ListeIncidents_Count() override { return int16_t(incidents.size()); }
    int32_t ListeIncidents_ListCount(int16_t i) override { return int32_t(incidents[i].size()); }
    std::string ListeIncidents_List(int16_t i, int32_t line) override { return incidents[i][line]; }
    void ListeIncidents_Clear(int16_t i) override { incidents[i].clear(); }
    void ListeIncidents_AddItem(int16_t i, const std::string& text) override { incidents[i].push_back(text); }
    void CheckIncidents_SetValue(int16_t i, int16_t value) override {
        if (value == 1) alerts.push_back(i);
    }
    bool fpSpreadGlobal_ExportToExcel(const std::string& workbook, const std::string& sheet,
                                      const std::string& log, int32_t flags) override {
        exports.push_back(workbook + "|" + sheet + "|" + log + "|" + std::to_string(flags));
        return true;
    }
    void RelancerApplication(bool modeTest, const std::string& caller) override {
        restarts.push_back((modeTest ? "test|" : "") + caller);
    }
};

// Registers the three fakes for one test and takes them away afterwards.
struct Windows {
    Settings settings;
    Engine engine;
    Main main;
    explicit Windows(int16_t incidentLists = 1) : main(incidentLists) {
        neighbours::registerFrmSetup(&settings);
        neighbours::registerFrm_MainBis(&engine);
        neighbours::registerFrm_Main(&main);
    }
    ~Windows() {
        neighbours::registerFrmSetup(nullptr);
        neighbours::registerFrm_MainBis(nullptr);
        neighbours::registerFrm_Main(nullptr);
    }
};

}  // namespace fakes
