// The two timers that hand over to each other: the folder poll and the run of its queue.
#include <cstdio>

#include <QCoreApplication>

#include "batchrunner/BatchFolder.h"
#include "batchrunner/Frm_Main_RLT_API.h"
#include "platform/Dialogs.h"
#include "platform/process/Process.h"

namespace dlg = platform::dialogs;
namespace proc = platform::process;

void Frm_Main_RLT_API::TimerMain_Timer() {
    if (Stopping()) return;
    proc::reapFinished();  // the batch files started in the cycle before
    for (const std::string& path : BatchFolder::MatchingFiles()) ListeBatch->AddItem(path);
    TimerBis->setEnabled(ListeBatch->ListCount() > 0);
    TimerMain->setEnabled(!TimerBis->Enabled());
}

void Frm_Main_RLT_API::TimerBis_Timer() {
    while (ListeBatch->ListCount() > 0 && !Stopping()) {
        const std::string path = ListeBatch->List(0);
        ListeBatch->RemoveItem(0);
        RunBatch(path);
    }
    if (Stopping()) return;  // stopped while a box was open: nothing runs any more
    TimerBis->setEnabled(false);
    TimerMain->setEnabled(true);
}

void Frm_Main_RLT_API::RunBatch(const std::string& path) {
    dlg::MsgBox("FichierBatch: Avant: " + path, dlg::vbOKOnly, AppTitle);
    // The box's OK is the operator's go-ahead; a stop that closed it is none.
    if (Stopping()) return;
    const proc::Started started = proc::start({path, {}, ""});
    QCoreApplication::processEvents();
    if (!started.ok()) {
        // Gone since the poll, or unreadable: said once, and the queue goes on.
        const std::string report = "FichierBatch: Erreur: " + path + " (" + started.reason + ")";
        std::fprintf(stderr, "%s: %s\n", AppTitle, report.c_str());
        dlg::MsgBox(report, dlg::vbOKOnly | dlg::vbCritical, AppTitle);
        return;
    }
    dlg::MsgBox("FichierBatch: Après: " + path, dlg::vbOKOnly, AppTitle);
    QCoreApplication::processEvents();
}
