// The base-choice dialog driven through its controls offscreen: station lists, the ways out,
// the layout at both font scales, and the answer seam.
#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>

#include "btrieve/forms/FrmSelectBase.h"
#include "foundation/FamilyConfig.h"
#include "foundation/Site.h"
#include "platform/Dialogs.h"
#include "tests/foundation/SiteFixture.h"

namespace dlg = platform::dialogs;

namespace {

class SelectBase : public sitetest::Site {
protected:
    FrmSelectBase window;

    void SetUp() override {
        sitetest::Site::SetUp();
        write(sitetest::kConfig,
              "[Site]\nNbBase=3\n[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n"
              "[Base_03]\nDossier_Config_Global=C:\\Cfg\\B3\n");
        // A chosen base runs from section Base_01 of its own file, whatever else the file holds:
        // base 3's own section counts other stations, which the program would never use.
        write("C:\\Cfg\\B1\\AL3_Systeme.ini",
              "[Base_01]\nLib=Un\nNbStation=3\n[Base_01_Station_02]\nLib=Radio Sud\n");
        write("C:\\Cfg\\B3\\AL3_Systeme.ini",
              "[Base_01]\nNbStation=2\n[Base_01_Station_01]\nLib=Trois A\n[Base_03]\nLib=Trois\n"
              "NbStation=4\n[Base_03_Station_01]\nLib=Jamais\n");
        window.Load();
        window.AddBase("Un", 0);
        window.AddBase("Trois", 2);  // base 2 has no folder and no line
    }
    std::vector<std::string> stations() const {
        std::vector<std::string> out;
        for (int i = 0; i < window.ComboStation->ListCount(); ++i)
            out.push_back(window.ComboStation->List(i));
        return out;
    }
};

}  // namespace

TEST_F(SelectBase, ChoosingABaseRebuildsItsStationList) {
    window.ComboBase->SetListIndex(0);
    EXPECT_EQ(stations(), (std::vector<std::string>{"Station 1", "Radio Sud", "Station 3"}));
    EXPECT_EQ(window.ComboStation->ListIndex(), 0);
    EXPECT_EQ(PbTBases[0].Lib, "Un");

    window.ComboBase->SetListIndex(1);
    EXPECT_EQ(stations(), (std::vector<std::string>{"Trois A", "Station 2"}));
    EXPECT_EQ(PbTBases[2].Lib, "Trois");  // the line's own base, not the line's position
    EXPECT_EQ(PbSDossierConfigBase[2], "C:\\Cfg\\B3\\");
    EXPECT_TRUE(PbTBases[1].Lib.empty());
}

TEST_F(SelectBase, WaysOut) {
    const struct {
        int line;
        int station;
        int button;
        int16_t base;
        int16_t stationResult;
    } cases[] = {
        {1, 1, 0, 2, 1},      // Valider: the base of the line, the station's position
        {-1, -1, 0, -1, -1},  // Valider with no base selected
        {0, 2, 1, -1, 9},     // Quitter: the station stays as it was
    };
    for (const auto& c : cases) {
        PbINoStationSelectionnee = 9;
        window.Load();
        window.ComboBase->SetListIndex(c.line);
        if (c.station >= 0) window.ComboStation->SetListIndex(c.station);
        window.CommandFermer[size_t(c.button)]->click();
        EXPECT_EQ(PbINoBaseSelectionnee, c.base) << c.line << " " << c.button;
        EXPECT_EQ(PbINoStationSelectionnee, c.stationResult) << c.line << " " << c.button;
        EXPECT_FALSE(window.Loaded());
    }
}

TEST_F(SelectBase, ModalShowDrivenByTheOperator) {
    window.ComboBase->SetListIndex(0);
    QTimer::singleShot(0, [this] {
        ASSERT_TRUE(window.ShownModal());
        window.ComboBase->SetListIndex(1);
        window.ComboStation->SetListIndex(1);
        window.CommandFermer[0]->click();
    });
    window.Show(platform::forms::vbModal);
    EXPECT_EQ(PbINoBaseSelectionnee, 2);
    EXPECT_EQ(PbINoStationSelectionnee, 1);

    // The system's close command cancels.
    window.ComboBase->SetListIndex(0);
    QTimer::singleShot(0, [this] { window.close(); });
    window.Show(platform::forms::vbModal);
    EXPECT_EQ(PbINoBaseSelectionnee, -1);
    EXPECT_FALSE(window.Visible());
}

TEST_F(SelectBase, LayoutFollowsTheFontScale) {
    const struct {
        float scale;
        double height, width, label2Left, validate, validateWidth, comboTop;
    } cases[] = {
        {0.0f, 5895, 7560, 1560, 6300, 1095, 2580},
        {1.0f, 5895, 7560, 1560, 6300, 1095, 2580},
        {1.25f, 4716, 6048, 768, 5040, 924, 2064},
    };
    for (const auto& c : cases) {
        PbFCoefPolice = c.scale;
        FrmSelectBase fresh;
        fresh.Load();
        EXPECT_DOUBLE_EQ(fresh.Height(), c.height) << c.scale;
        EXPECT_DOUBLE_EQ(fresh.Width(), c.width) << c.scale;
        EXPECT_DOUBLE_EQ(fresh.Label[2]->Left(), c.label2Left) << c.scale;
        EXPECT_DOUBLE_EQ(fresh.CommandFermer[0]->Left(), c.validate) << c.scale;
        EXPECT_DOUBLE_EQ(fresh.CommandFermer[0]->Width(), c.validateWidth) << c.scale;
        EXPECT_DOUBLE_EQ(fresh.ComboBase->Top(), c.comboTop) << c.scale;
        EXPECT_EQ(fresh.Caption(), "Choix de la base");
    }
}

// Whatever fonts the desktop has: "Station" once read "Statior".
TEST_F(SelectBase, EveryLabelShowsItsCaptionWhole) {
    for (float scale : {1.0f, 1.25f}) {
        PbFCoefPolice = scale;
        FrmSelectBase fresh;
        fresh.Load();
        for (const auto* label : fresh.Label) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->Caption() << " " << scale;
            EXPECT_GE(label->height(), label->sizeHint().height()) << label->Caption() << " " << scale;
        }
    }
}

TEST_F(SelectBase, TheBannerPictureIsTheWindowsBackground) {
    window.ComboBase->SetListIndex(0);
    window.Show();
    const QImage shot = window.grab().toImage();
    // The banner's rule under its heading, across the whole width.
    for (int x : {4, shot.width() / 2, shot.width() - 4})
        EXPECT_EQ(shot.pixelColor(x, shot.height() * 71 / 393), QColor(44, 92, 158)) << x;
}

TEST_F(SelectBase, ScriptedAnswersStandForTheOperator) {
    FrmSelectBaseDialog dialog(window, nullptr);
    const struct {
        const char* answer;
        int16_t base;
    } cases[] = {
        {"cancel", -1}, {"", 0}, {"ok", 0}, {"3", 2}, {"2", 0},  // base 2 has no line: kept
    };
    for (const auto& c : cases) {
        dlg::queueAnswers({c.answer});
        dialog.Load();
        dialog.ComboBase_SetListIndex(0);
        dialog.ShowModal();
        EXPECT_EQ(PbINoBaseSelectionnee, c.base) << c.answer;
    }
    EXPECT_EQ(dlg::asked().back().text, "Sélectionnez la base et la station: Un; Trois");
}
