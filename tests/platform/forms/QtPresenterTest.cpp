// The real message boxes: icon, buttons, default and result for each style the program uses.
#include <gtest/gtest.h>

#include <fstream>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/forms/QtPresenter.h"
#include "tests/support/TempSite.h"

using namespace platform::forms;
namespace dlg = platform::dialogs;

TEST(QtMessageBox, StylesGiveIconButtonsAndDefault) {
    const struct {
        int style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    } cases[] = {
        {dlg::vbCritical, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok},
        {dlg::vbYesNoCancel + dlg::vbQuestion, QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes},
        {dlg::vbExclamation + dlg::vbOKCancel, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Ok},
        {dlg::vbInformation, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok},
        {dlg::vbAbortRetryIgnore + dlg::vbDefaultButton2, QMessageBox::NoIcon,
         QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Retry},
        {dlg::vbYesNo + dlg::vbQuestion + dlg::vbDefaultButton2, QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
    };
    for (const auto& c : cases) {
        auto box = buildMessageBox("text", c.style, "Aerolune: Relaytone");
        EXPECT_EQ(box->icon(), c.icon) << c.style;
        EXPECT_EQ(box->standardButtons(), c.buttons) << c.style;
        ASSERT_NE(box->defaultButton(), nullptr) << c.style;
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(c.defaultButton))
            << c.style;
        EXPECT_EQ(box->windowTitle(), "Aerolune: Relaytone");
    }
}

TEST(QtMessageBox, PressedButtonGivesItsResult) {
    const struct {
        int style;
        QMessageBox::StandardButton press;
        int result;
    } cases[] = {
        {dlg::vbYesNoCancel + dlg::vbQuestion, QMessageBox::No, dlg::vbNo},
        {dlg::vbYesNoCancel + dlg::vbQuestion, QMessageBox::Cancel, dlg::vbCancel},
        {dlg::vbAbortRetryIgnore, QMessageBox::Ignore, dlg::vbIgnore},
        {dlg::vbInformation, QMessageBox::Ok, dlg::vbOK},
    };
    for (const auto& c : cases) {
        auto box = buildMessageBox("text", c.style, "T");
        box->button(c.press)->click();
        EXPECT_EQ(resultOf(*box, c.style), c.result) << c.style;
    }
}

class QtPresenterSeam : public support::SiteTest {};

TEST_F(QtPresenterSeam, UnscriptedBoxIsShownAndAnswered) {
    QtPresenter presenter;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Voulez-vous quitter le programme ?");
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(presenter.messageBox("Voulez-vous quitter le programme ?", dlg::vbYesNo + dlg::vbQuestion,
                                   "Aerolune: Relaytone"),
              dlg::vbNo);
}

TEST(QtFilters, VbFilterBecomesQtFilter) {
    const struct {
        const char* vb;
        const char* qt;
    } cases[] = {
        // Qt filters by the brackets: a description without its patterns gets them.
        {"Logs|*.log", "Logs (*.log)"},
        {"Textes|*.txt;*.log|Tous|*.*", "Textes (*.txt *.log);;Tous (*.*)"},
        {"Journal (quotidien)|*.log", "Journal (quotidien) (*.log)"},
        {"Log files (*.Log)|*.Log", "Log files (*.Log)"},
        {"Log (*.Log)|*.Log|Tous (*.*)|*.*", "Log (*.Log);;Tous (*.*)"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(qtFilterOf(c.vb), c.qt) << c.vb;
}

TEST_F(QtPresenterSeam, TheProposedFileIsTheWindowsPathItselfOrTheNameInTheFolder) {
    const std::string folder = (drive.host("C:\\") / "AudioLog" / "Histo_AL3_Relaytone").string();
    const struct {
        const char* initial;
        const char* file;
        std::string host;
    } cases[] = {
        {"C:\\AudioLog\\Histo_AL3_Relaytone\\", "C:\\AudioLog\\Histo_AL3_Relaytone\\20260110.Log",
         folder + "/20260110.Log"},
        {"C:\\AudioLog\\Histo_AL3_Relaytone\\", "20260110.Log", folder + "/20260110.Log"},
        {"C:\\AudioLog\\Histo_AL3_Relaytone\\", "", folder},
        {"C:\\AudioLog\\Histo_AL3_Relaytone\\", "Q:\\Nulle part\\x.Log", folder},  // Q: is not mapped
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::filesystem::path(proposedFileOf(c.initial, c.file)).lexically_normal(),
                  std::filesystem::path(c.host).lexically_normal())
            << c.file;
}

TEST_F(QtPresenterSeam, TheLogDialogListsTheDaysLogsWhateverTheirCaseAndProposesToday) {
    const std::filesystem::path folder = drive.host("C:\\") / "AudioLog" / "Histo_AL3_Relaytone";
    std::filesystem::create_directories(folder);
    for (const char* name : {"20260109.Log", "20260110.Log", "20260108.LOG", "notes.txt"})
        std::ofstream(folder / name) << "line\n";
    QtPresenter presenter;
    QStringList listed;
    QString filter, proposed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filter = dialog->selectedNameFilter();
        proposed = dialog->selectedFiles().value(0);
        // The folder is read in the background.
        auto* view = dialog->findChild<QListView*>("listView");
        ASSERT_NE(view, nullptr);
        QElapsedTimer clockSource;
        clockSource.start();
        while (view->model()->rowCount(view->rootIndex()) < 3 && clockSource.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        listed.sort();
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto picked = presenter.pickOpenFile("", "C:\\AudioLog\\Histo_AL3_Relaytone\\", "Logs|*.log",
                                               "C:\\AudioLog\\Histo_AL3_Relaytone\\20260110.Log");
    EXPECT_EQ(filter, "Logs (*.log)");
    EXPECT_EQ(proposed.toStdString(), (folder / "20260110.Log").string());
    EXPECT_EQ(listed, QStringList({"20260108.LOG", "20260109.Log", "20260110.Log"}));
    EXPECT_EQ(picked, std::optional<std::string>("C:\\AudioLog\\Histo_AL3_Relaytone\\20260110.Log"));
}

TEST_F(QtPresenterSeam, FolderPickerSeesTheHostFolderAndAnswersAWindowsPath) {
    std::filesystem::create_directories(drive.host("C:\\") / "AL_Data" / "Base2");
    QtPresenter presenter;
    std::string shownFolder;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownFolder = dialog->directory().absolutePath().toStdString();
        dialog->selectFile(QString::fromStdString((drive.host("C:\\") / "AL_Data" / "Base2").string()));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto picked = presenter.pickFolder("", "C:\\AL_Data");
    EXPECT_EQ(shownFolder, (drive.host("C:\\") / "AL_Data").string());
    EXPECT_EQ(picked, std::optional<std::string>("C:\\AL_Data\\Base2"));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(presenter.pickFolder("", "C:\\AL_Data").has_value());
}

// A stop closes every box on screen, the inner one first; each call returns its default, not
// the escape button a plain close would press.
TEST_F(QtPresenterSeam, ClosingTheOpenBoxesGivesEachItsDefaultAnswer) {
    QtPresenter presenter;
    std::optional<std::string> inner = "not returned";
    QString innerTitle;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            innerTitle = QApplication::activeModalWidget()->windowTitle();
            presenter.closeOpenBoxes();
        });
        inner = presenter.inputBox("Nom du fichier", "Inner", "proposé");
    });
    EXPECT_EQ(presenter.messageBox("Encore ?", dlg::vbYesNoCancel + dlg::vbDefaultButton2, "Outer"),
              dlg::vbNo);
    EXPECT_EQ(innerTitle, "Inner");
    EXPECT_FALSE(inner.has_value());

    // Those boxes are gone from its list: a later box waits for its own answer.
    presenter.closeOpenBoxes();
    QTimer::singleShot(0, [] {
        qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(presenter.messageBox("Encore ?", dlg::vbYesNoCancel, "T"), dlg::vbCancel);
}
