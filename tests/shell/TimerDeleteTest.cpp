// The delete timer over real files: what is gone leaves the list, what cannot go keeps it running.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/shell/PeriodicFixture.h"

namespace {

using periodictest::PeriodicTest;

TEST_F(PeriodicTest, TheDeleteTimerKeepsOnlyTheEntriesItCouldNotDelete) {
    EXPECT_FALSE(engine().TimerDelete.Enabled());  // off until someone lists a file
    std::filesystem::create_directories(drive.host("C:\\Temp\\Dossier"));
    std::ofstream(drive.host("C:\\Temp\\a.wav")) << "x";
    std::ofstream(drive.host("C:\\Temp\\b.wav")) << "y";
    auto& listBox = engine().ListeFileToDelete;
    for (const char* fichier :
         {"C:\\Temp\\a.wav", "C:\\Temp\\Absent.wav", "C:\\Temp\\Dossier", "C:\\Temp\\b.wav"})
        listBox.AddItem(fichier);
    engine().TimerDelete.setEnabled(true);

    engine().TimerDelete_Timer();
    EXPECT_FALSE(std::filesystem::exists(drive.host("C:\\Temp\\a.wav")));
    EXPECT_FALSE(std::filesystem::exists(drive.host("C:\\Temp\\b.wav")));
    // A file not found is tried again, and a folder is no file to delete: both stay listed.
    ASSERT_EQ(listBox.ListCount(), 2);
    EXPECT_EQ(listBox.List(0), "C:\\Temp\\Absent.wav");
    EXPECT_EQ(listBox.List(1), "C:\\Temp\\Dossier");
    EXPECT_TRUE(engine().TimerDelete.Enabled());
    EXPECT_EQ(engine().TimerDelete.Interval(), 10000);

    // The missing file turns up (its folder was out of reach): the next tick deletes it.
    std::ofstream(drive.host("C:\\Temp\\Absent.wav")) << "z";
    std::filesystem::remove(drive.host("C:\\Temp\\Dossier"));
    engine().TimerDelete_Timer();
    EXPECT_FALSE(std::filesystem::exists(drive.host("C:\\Temp\\Absent.wav")));
    ASSERT_EQ(listBox.ListCount(), 1);
    EXPECT_EQ(listBox.List(0), "C:\\Temp\\Dossier");
    EXPECT_TRUE(engine().TimerDelete.Enabled());

    listBox.RemoveItem(0);
    engine().TimerDelete_Timer();
    EXPECT_FALSE(engine().TimerDelete.Enabled());
}

}  // namespace
