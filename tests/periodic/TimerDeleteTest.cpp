// The delete timer over real files: what is gone leaves the list, what cannot go keeps it running.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/periodic/PeriodicFixture.h"

namespace {

using periodictest::PeriodicTest;

TEST_F(PeriodicTest, TheDeleteTimerKeepsOnlyTheEntriesItCouldNotDelete) {
    std::filesystem::create_directories(drive.host("C:\\Temp\\Dossier"));
    std::ofstream(drive.host("C:\\Temp\\a.wav")) << "x";
    std::ofstream(drive.host("C:\\Temp\\b.wav")) << "y";
    auto& liste = engine().ListeFileToDelete;
    for (const char* fichier : {"C:\\Temp\\a.wav", "C:\\Temp\\Absent.wav", "C:\\Temp\\Dossier", "C:\\Temp\\b.wav"})
        liste.AddItem(fichier);
    engine().TimerDelete.setEnabled(true);

    engine().TimerDelete_Timer();
    EXPECT_FALSE(std::filesystem::exists(drive.host("C:\\Temp\\a.wav")));
    EXPECT_FALSE(std::filesystem::exists(drive.host("C:\\Temp\\b.wav")));
    // A folder is no file to delete: it stays listed and the timer keeps trying.
    ASSERT_EQ(liste.ListCount(), 1);
    EXPECT_EQ(liste.List(0), "C:\\Temp\\Dossier");
    EXPECT_TRUE(engine().TimerDelete.Enabled());
    EXPECT_EQ(engine().TimerDelete.Interval(), 10000);

    std::filesystem::remove(drive.host("C:\\Temp\\Dossier"));
    engine().TimerDelete_Timer();
    EXPECT_EQ(liste.ListCount(), 0);
    EXPECT_FALSE(engine().TimerDelete.Enabled());
}

}  // namespace
