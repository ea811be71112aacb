// The error reporter: grid export, framed log block, technical mail, restart on automation loss.
#include "foundation/ErrorReporter.h"

#include <QCoreApplication>

#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/LogText.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "platform/ScopedFlag.h"
#include "platform/VbErrors.h"

namespace Lib_Public {
namespace {

constexpr int64_t kObjectErrorBase = 0x80040000LL;
constexpr int32_t kAutomationDisconnected = int32_t(0x80010108u);

bool reportGuard = false;

std::string withoutBlanks(const std::string& text) { return VBA::Replace(text, " ", ""); }

}  // namespace

void resetErrorReporter() {
    DerniereErreur = {};
    reportGuard = false;
}

void GestionDesErreurs(const std::string& caller) {
    if (Abandon || reportGuard) return;
    const platform::ScopedFlag reporting(reportGuard);

    neighbours::Frm_MainServices& main = neighbours::Frm_Main();
    const std::string folder = PbSDossierApplication + "Local\\AL3_Relaytone\\";
    main.fpSpreadGlobal_ExportToExcel(folder + "Global.xls", "SheetName", folder + "Global_Export.log", 0);

    const ErrorInfo error = DerniereErreur;
    int64_t n = error.number;
    const int64_t offset = int64_t(uint32_t(error.number)) - kObjectErrorBase;
    const bool reduced = offset > 0 && offset < 65535;
    if (reduced) n = offset;

    if (n != 0) {
        std::string description = error.description;
        if (VBA::Len(description) > 100) description = VBA::Replace(description, ". ", "\n ");
        std::string text = "Err: " + std::to_string(n) + " (" + description + ")";
        if (!withoutBlanks(caller).empty()) text += "\n\nSource:" + caller + ":" + std::to_string(error.line);
        if (reduced && !withoutBlanks(error.source).empty()) text += "\n(Source: " + error.source + ")";
        // What is left after the program's own breaks may come from outside (a server's reply).
        const std::string oneLine = logtext::visible(VBA::Replace(text, "\n", " "));
        TraceLogEncadre(-1, -1, -1, oneLine, "=", true);

        if (n != platform::vb::kOutOfMemory)
            neighbours::Frm_MainBis().EnvoiMail(false, neighbours::FrmSetup().TexteEmailsAdresses(), oneLine,
                                                "", true);
        if (n == kAutomationDisconnected) {
            TraceLogEncadre(-1, -1, -1, "Automation Error |Sub: " + caller + ":" + std::to_string(error.line),
                            " = ", true);
            main.RelancerApplication(false, "Lib_Public:GestionDesErreurs");
        }
    }

    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void ReportError(int32_t number, const std::string& description, const std::string& caller,
                 const std::string& source, int32_t line) {
    DerniereErreur = {number, line, description, source};
    GestionDesErreurs(caller);
}

}  // namespace Lib_Public
