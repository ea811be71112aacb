// The README's demo site: written by scripts/demo-site, and the program runs on it.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QProcess>

#include "tests/e2e/support/E2eProgram.h"
#include "tests/support/WindowsFiles.h"

namespace {

TEST(DemoSite, IsWrittenOnceAndTheInstalledProgramAnswersOnIt) {
    support::TempDriveC drive;
    const uint16_t port1 = e2e::freeUdpPort(), port2 = e2e::freeUdpPort();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("AL3_DRIVE_C", QString::fromStdString(drive.root().string()));
    env.insert("AL3_DEMO_PORT1", QString::number(port1));
    env.insert("AL3_DEMO_PORT2", QString::number(port2));
    const QString script = QString(std::getenv("AL3_SOURCE_DIR")) + "/scripts/demo-site";
    std::string request;  // the time query the second run prints
    for (int times = 0; times < 2; ++times) {
        QProcess writer;
        writer.setProcessEnvironment(env);
        writer.start(script, {std::getenv("AL3_BIN_DIR")});
        ASSERT_TRUE(writer.waitForFinished(30000));
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
        const std::string outputTab = writer.readAllStandardOutput().toStdString();
        EXPECT_EQ(outputTab.find("writing a demo site") != std::string::npos, times == 0) << outputTab;
        if (times == 1) {
            EXPECT_NE(
                outputTab.find("A time query to station 1 (127.0.0.1 port " + std::to_string(port1) + ")"),
                std::string::npos)
                << outputTab;
            const size_t beginning = outputTab.find("/usr/bin/python3");
            ASSERT_NE(beginning, std::string::npos) << outputTab;
            request = outputTab.substr(beginning, outputTab.find('\n', beginning) - beginning);
        }
        // The site stays as it was written: the later runs read its ports from its files.
        env.insert("AL3_DEMO_PORT1", QString::number(e2e::freeUdpPort()));
        env.insert("AL3_DEMO_PORT2", QString::number(e2e::freeUdpPort()));
    }
    for (const char* fichier :
         {"C:\\AL_Data\\FRAD000.bt6", "C:\\AL_Data\\FRADA55.bt6",
          "C:\\Vantremo\\Aerolune\\Settings\\AL3_Config.ini",
          "C:\\Vantremo\\Aerolune\\Config\\AL3_Systeme.ini",
          "C:\\Vantremo\\Aerolune\\Config\\AL3_Relaytone.Ini", "C:\\Vantremo\\Aerolune\\AL3_Relaytone"})
        EXPECT_TRUE(std::filesystem::exists(drive.host(fichier))) << fichier;

    QProcess program;
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("AL3_ANSWERS");
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString(drive.host("C:\\Vantremo\\Aerolune\\AL3_Relaytone").string()), {});
    ASSERT_TRUE(program.waitForStarted());
    std::optional<std::string> reply;
    for (int attempt = 0; attempt < 100 && !reply; ++attempt)
        reply = e2e::askTime(port2, std::chrono::milliseconds(100));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->rfind("<Relaytone_Time:", 0), 0u);
    QProcess question;
    question.start("/bin/bash", {"-c", QString::fromStdString(request)});
    ASSERT_TRUE(question.waitForFinished(10000));
    EXPECT_EQ(question.exitCode(), 0) << question.readAllStandardError().toStdString();
    EXPECT_EQ(question.readAllStandardOutput().toStdString().rfind("<Relaytone_Time:", 0), 0u) << request;
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);

    // The demo site names its radio: the day header shows its identity.
    std::string journal;
    for (const auto& entry :
         std::filesystem::directory_iterator(drive.host("C:\\AudioLog\\Histo_AL3_Relaytone\\")))
        journal += support::readWindowsFile(entry.path());
    EXPECT_NE(journal.find("==:==:==:====:=:=:=:Id Radio: 1: Radio Demo\n"), std::string::npos) << journal;
}

}  // namespace
