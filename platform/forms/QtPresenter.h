// The screen side of the dialog seam: real message boxes, input box, folder and file dialogs.
#pragma once

#include <list>
#include <memory>
#include <optional>
#include <string>

#include <QDialog>
#include <QMessageBox>
#include <QPointer>

#include "platform/Dialogs.h"

namespace platform::forms {

class QtPresenter : public platform::dialogs::Presenter {
public:
    int messageBox(const std::string& text, int style, const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    // Paths go in and come out Windows-shaped; the dialogs see the host folders behind them.
    std::optional<std::string> pickFolder(const std::string& title,
                                          const std::string& initialFolder) override;
    std::optional<std::string> pickOpenFile(const std::string& title, const std::string& initialFolder,
                                            const std::string& filter, const std::string& fileName) override;
    void closeOpenBoxes() override;

private:
    // Runs the dialog modally; false when an unattended stop closed it.
    bool runModal(QDialog& dialog);

    struct Shown {
        QPointer<QDialog> dialog;
        bool closedByStop = false;
    };
    std::list<Shown> shown_;  // innermost last
};

// The box a style asks for (icon 16/32/48/64, button set, default button), not yet shown.
std::unique_ptr<QMessageBox> buildMessageBox(const std::string& text, int style, const std::string& title);
// The vb result of the button pressed in a box built above; the default when none was.
int resultOf(const QMessageBox& box, int style);
// "Log files (*.Log)|*.Log|All (*.*)|*.*" as Qt writes it: "Log files (*.Log);;All (*.*)"; a
// description without its patterns gets them in brackets ("Logs|*.log" is "Logs (*.log)").
std::string qtFilterOf(const std::string& vbFilter);
// The host path the open-file dialog starts on: a Windows path as the file name names the file
// itself, a bare name lies in the initial folder.
std::string proposedFileOf(const std::string& initialFolder, const std::string& fileName);

// Above the program's stay-on-top windows while one of them is shown.
void keepAboveTopmostWindows(QDialog& dialog);

// Registers one presenter for the whole run, with Qt's texts in the user's language; windows
// programs call it once at start.
void installQtPresenter();

}  // namespace platform::forms
