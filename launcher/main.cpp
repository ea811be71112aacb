// AL3_Relaytone_Launcher: no window and no display needed, unless "/Test" asks to show the command.
#include <memory>
#include <string>

#include <QApplication>
#include <QCoreApplication>

#include "launcher/Frm_Main_Launch.h"
#include "platform/NumericLocale.h"
#include "platform/forms/QtPresenter.h"
#include "platform/process/RuntimeFolder.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);

    platform::process::settleRuntimeDirectory();
    Frm_Main_Launch form(commandLine);
    std::unique_ptr<QCoreApplication> app;
    if (form.Holds("/Test")) {
        app = std::make_unique<QApplication>(argc, argv);
        platform::forms::installQtPresenter();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    platform::keepNumbersInC();
    form.Form_Load();
    form.Form_Unload();
    return 0;
}
