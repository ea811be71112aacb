// The log reader: the user picks a day's file and it opens in the desktop's editor.
#include <cstdlib>

#include <QProcess>
#include <QString>
#include <QStringList>

#include "foundation/Conversions.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/NeighbourServices.h"
#include "platform/Clock.h"
#include "platform/WinPath.h"

namespace Lib_Public {
namespace {

// The editor the user named (VISUAL, then EDITOR), else the desktop's opener.
QString editorProgram() {
    for (const char* variable : {"VISUAL", "EDITOR"})
        if (const char* value = std::getenv(variable); value && *value) return QString(value);
    return QStringLiteral("xdg-open");
}

}  // namespace

void LectureLog(const std::string& folder, const std::string& prefix) {
    const std::string caller = "Lib_Public:LectureLog";
    TraceLogForce(caller);

    neighbours::OpenFileRequest request;
    request.initialFolder = folder;
    request.filter = "Logs|*.log";
    request.filterIndex = 1;
    request.fileName = folder + prefix + D2S(platform::clock::now()) + ".Log";
    AfficherMessageBoxOuInputBox(-1);
    const auto chosen = neighbours::Frm_MainBis().CMDialog_ShowOpen(request);
    AfficherMessageBoxOuInputBox(0);
    // A cancel closes quietly.
    if (!chosen || chosen->empty()) return;

    const auto host = platform::winpath::toHost(*chosen);
    const QString file = QString::fromStdString(host.empty() ? *chosen : host.string());
    const QString editor = editorProgram();
    QStringList arguments = QProcess::splitCommand(editor);
    const QString program = arguments.isEmpty() ? editor : arguments.takeFirst();
    if (!QProcess::startDetached(program, arguments << file))
        ReportError(53, "File not found: " + editor.toStdString(), caller);
}

}  // namespace Lib_Public
