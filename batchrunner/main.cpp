// AL3_Relaytone_API: shows its window and polls; a stop signal closes it as a shut-down would.
#include <QApplication>

#include "batchrunner/Frm_Main_RLT_API.h"
#include "platform/NumericLocale.h"
#include "platform/StopSignals.h"
#include "platform/forms/QtPresenter.h"
#include "platform/process/RuntimeFolder.h"

int main(int argc, char** argv) {
    // Before anything else: a stop signal from here on waits for the window, never kills.
    platform::stopsignals::hold();
    platform::process::settleRuntimeDirectory();
    QApplication app(argc, argv);
    platform::keepNumbersInC();
    platform::forms::installQtPresenter();

    Frm_Main_RLT_API form;
    form.Ended = [] { QCoreApplication::exit(0); };  // quit() would ask the windows again
    platform::stopsignals::onStop(form, [&form] { form.Unload(platform::forms::vbAppWindows); });

    form.Show();
    return app.exec();
}
