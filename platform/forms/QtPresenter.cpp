// Message boxes and file dialogs on screen, for the runs that no script answers.
#include "platform/forms/QtPresenter.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>

#include "platform/WinPath.h"
#include "platform/forms/QtTranslations.h"

namespace platform::forms {
namespace dlg = platform::dialogs;
namespace {

const std::vector<std::vector<int>>& buttonSets() {
    static const std::vector<std::vector<int>> sets = {{dlg::vbOK},
                                                       {dlg::vbOK, dlg::vbCancel},
                                                       {dlg::vbAbort, dlg::vbRetry, dlg::vbIgnore},
                                                       {dlg::vbYes, dlg::vbNo, dlg::vbCancel},
                                                       {dlg::vbYes, dlg::vbNo},
                                                       {dlg::vbRetry, dlg::vbCancel}};
    return sets;
}

const std::vector<int>& buttonsOf(int style) { return buttonSets()[size_t(std::clamp(style & 7, 0, 5))]; }

QMessageBox::StandardButton standardOf(int result) {
    switch (result) {
        case dlg::vbOK:
            return QMessageBox::Ok;
        case dlg::vbCancel:
            return QMessageBox::Cancel;
        case dlg::vbAbort:
            return QMessageBox::Abort;
        case dlg::vbRetry:
            return QMessageBox::Retry;
        case dlg::vbIgnore:
            return QMessageBox::Ignore;
        case dlg::vbYes:
            return QMessageBox::Yes;
        case dlg::vbNo:
            return QMessageBox::No;
        default:
            return QMessageBox::NoButton;
    }
}

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
        case dlg::vbCritical:
            return QMessageBox::Critical;
        case dlg::vbQuestion:
            return QMessageBox::Question;
        case dlg::vbExclamation:
            return QMessageBox::Warning;
        case dlg::vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QString hostFolder(const std::string& windowsFolder) {
    if (windowsFolder.empty()) return {};
    return QString::fromStdString(platform::winpath::toHost(windowsFolder).string());
}

std::optional<std::string> windowsPathOf(const QString& hostPath) {
    if (hostPath.isEmpty()) return std::nullopt;
    return platform::winpath::fromHost(hostPath.toStdString());
}

}  // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const std::string& text, int style, const std::string& title) {
    auto box = std::make_unique<QMessageBox>(QApplication::activeWindow());
    box->setWindowTitle(QString::fromStdString(title));
    box->setText(QString::fromStdString(text));
    box->setIcon(iconOf(style));
    QMessageBox::StandardButtons buttons;
    for (int result : buttonsOf(style)) buttons |= standardOf(result);
    box->setStandardButtons(buttons);
    box->setDefaultButton(standardOf(dlg::defaultResult(style)));
    // Escape answers Cancel where there is one, the only button of an OK box otherwise.
    const auto& set = buttonsOf(style);
    if (std::find(set.begin(), set.end(), int(dlg::vbCancel)) != set.end())
        box->setEscapeButton(QMessageBox::Cancel);
    else if (set.size() == 1)
        box->setEscapeButton(standardOf(set.front()));
    return box;
}

int resultOf(const QMessageBox& box, int style) {
    if (const QAbstractButton* clicked = box.clickedButton()) {
        for (int result : buttonsOf(style))
            if (box.button(standardOf(result)) == clicked) return result;
    }
    return dlg::defaultResult(style);
}

std::string qtFilterOf(const std::string& vbFilter) {
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t bar = vbFilter.find('|', start);
        parts.push_back(vbFilter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::string out;
    for (size_t i = 0; i < parts.size(); i += 2) {
        std::string description = parts[i];
        // Qt filters by the patterns in the description's closing brackets; VB keeps them apart.
        if (i + 1 < parts.size() && description.find(parts[i + 1]) == std::string::npos) {
            std::string patterns = parts[i + 1];
            std::replace(patterns.begin(), patterns.end(), ';', ' ');
            description += " (" + patterns + ")";
        }
        if (i > 0) out += ";;";
        out += description;
    }
    return out;
}

// The program's questions come above its own stay-on-top windows, never under them.
void keepAboveTopmostWindows(QDialog& dialog) {
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window == &dialog || !window->isVisible()) continue;
        if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
            dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            return;
        }
    }
}

bool QtPresenter::runModal(QDialog& dialog) {
    keepAboveTopmostWindows(dialog);
    const auto entry = shown_.insert(shown_.end(), Shown{&dialog});
    struct Forget {
        std::list<Shown>& shown;
        std::list<Shown>::iterator entry;
        ~Forget() { shown.erase(entry); }
    } forget{shown_, entry};
    dialog.exec();
    return !entry->closedByStop;
}

void QtPresenter::closeOpenBoxes() {
    for (auto it = shown_.rbegin(); it != shown_.rend(); ++it) {
        it->closedByStop = true;
        if (it->dialog) it->dialog->done(QDialog::Rejected);
    }
}

std::string proposedFileOf(const std::string& initialFolder, const std::string& fileName) {
    if (fileName.empty()) return hostFolder(initialFolder).toStdString();
    // A Windows path names the file whole; a bare name lies in the initial folder.
    const QString folder = hostFolder(initialFolder);
    if (fileName.find_first_of("\\:") != std::string::npos) {
        const std::filesystem::path host = platform::winpath::toHost(fileName);
        return host.empty() ? folder.toStdString() : host.string();  // a drive that is not mapped
    }
    return folder.isEmpty() ? fileName : (folder + "/" + QString::fromStdString(fileName)).toStdString();
}

int QtPresenter::messageBox(const std::string& text, int style, const std::string& title) {
    auto box = buildMessageBox(text, style, title);
    if (!runModal(*box)) return dlg::defaultResult(style);
    return resultOf(*box, style);
}

std::optional<std::string> QtPresenter::inputBox(const std::string& prompt, const std::string& title,
                                                 const std::string& defaultText) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString::fromStdString(defaultText));
    if (!runModal(dialog) || dialog.result() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

std::optional<std::string> QtPresenter::pickFolder(const std::string& title,
                                                   const std::string& initialFolder) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title),
                       hostFolder(initialFolder));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!runModal(dialog) || dialog.result() != QDialog::Accepted) return std::nullopt;
    return windowsPathOf(dialog.selectedFiles().value(0));
}

std::optional<std::string> QtPresenter::pickOpenFile(const std::string& title,
                                                     const std::string& initialFolder,
                                                     const std::string& filter, const std::string& fileName) {
    // Qt's own dialog: its filters match names without regard to case, as Windows does ("*.log"
    // lists the day's ".Log" files); a desktop's native one may not. A proposed file opens its
    // folder with the file selected.
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title),
                       QString::fromStdString(proposedFileOf(initialFolder, fileName)),
                       QString::fromStdString(qtFilterOf(filter)));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!runModal(dialog) || dialog.result() != QDialog::Accepted) return std::nullopt;
    return windowsPathOf(dialog.selectedFiles().value(0));
}

void installQtPresenter() {
    installQtTranslations();
    static QtPresenter presenter;
    platform::dialogs::setPresenter(&presenter);
}

}  // namespace platform::forms
