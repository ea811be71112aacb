// The delete timer: retries the deletion of each file of ListeFileToDelete until the list is empty.
#include <QCoreApplication>

#include "engine/ErrorTrap.h"
#include "engine/Frm_MainBis.h"
#include "foundation/FilesAndFolders.h"

namespace {
const std::string kCaller = "Frm_MainBis:TimerDelete_Timer";
}

void Frm_MainBis::TimerDelete_Timer() {
    int i = 0;
    while (i < ListeFileToDelete.ListCount()) {
        const std::string fichier = ListeFileToDelete.List(i);
        bool deleted = false;
        // A file not found stays listed: a folder out of reach for a while is tried again.
        engine::Trap(kCaller, [&] {
            if (!Lib_Systeme::File_Exist(fichier, kCaller)) return;
            Lib_Systeme::File_Delete(fichier, kCaller);
            deleted = !Lib_Systeme::File_Exist(fichier, kCaller);
        });
        if (deleted)
            ListeFileToDelete.RemoveItem(i);
        else
            ++i;
        QCoreApplication::processEvents();
    }
    TimerDelete.setEnabled(ListeFileToDelete.ListCount() > 0);
}
