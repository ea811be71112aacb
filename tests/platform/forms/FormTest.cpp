// The window life cycle: load once, modal show that returns when the window goes, unload modes.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QTimer>

#include "platform/forms/Form.h"

using namespace platform::forms;

namespace {

class Probe : public Form {
public:
    Probe() : Form("FrmProbe") {}
    int loads = 0;
    int refuseUnloads = 0;  // how many unloads the query still cancels
    bool unloadInLoad = false;
    std::vector<int> modes;

protected:
    void Form_Load() override {
        ++loads;
        if (unloadInLoad) Unload();
    }
    void Form_QueryUnload(int& cancel, int unloadMode) override {
        modes.push_back(unloadMode);
        if (refuseUnloads > 0) {
            --refuseUnloads;
            cancel = 1;
        }
    }
};

}  // namespace

TEST(FormLife, LoadsOnceUntilUnloaded) {
    Probe form;
    form.Load();
    form.Show();
    form.Load();
    EXPECT_EQ(form.loads, 1);
    EXPECT_TRUE(form.Visible());
    form.Hide();
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.Loaded());
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(form.modes, (std::vector<int>{vbFormCode}));
    form.Show();
    EXPECT_EQ(form.loads, 2);
}

TEST(FormLife, TheLoadedFormsInTheOrderTheyWereLoaded) {
    Probe c, b, a;
    auto* d = new Probe;
    for (Probe* f : {&a, &b, d, &c}) f->Load();
    EXPECT_EQ(Form::LoadedForms(), (std::vector<Form*>{&a, &b, d, &c}));
    b.refuseUnloads = 1;
    b.Unload();  // refused: it stays where it was
    EXPECT_EQ(Form::LoadedForms(), (std::vector<Form*>{&a, &b, d, &c}));
    b.Unload();
    a.unloadInLoad = true;
    a.Unload();
    a.Load();  // gone again in its own load
    EXPECT_EQ(Form::LoadedForms(), (std::vector<Form*>{d, &c}));
    b.Show();  // loaded again: now the last
    delete d;
    EXPECT_EQ(Form::LoadedForms(), (std::vector<Form*>{&c, &b}));
}

TEST(FormLife, QueryUnloadCanRefuse) {
    Probe form;
    form.Show();
    form.refuseUnloads = 1;
    EXPECT_FALSE(form.Unload());
    EXPECT_TRUE(form.Loaded());
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.Visible());
}

TEST(FormLife, UserCloseUnloadsWithModeZero) {
    Probe form;
    form.Show();
    form.refuseUnloads = 1;
    form.close();  // refused: still shown
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.Loaded());
    form.close();
    EXPECT_FALSE(form.Loaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.modes, (std::vector<int>{vbFormControlMenu, vbFormControlMenu}));
}

TEST(FormLife, ModalShowReturnsOnceHiddenOrUnloaded) {
    Probe owner;
    owner.Show();
    Probe dialog;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        wasModal = dialog.ShownModal() && dialog.isModal();
        dialog.Hide();
    });
    dialog.Show(vbModal, &owner);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(dialog.Loaded());

    QTimer::singleShot(0, [&] { dialog.close(); });
    dialog.Show(vbModal, &owner);
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_FALSE(dialog.ShownModal());
    EXPECT_FALSE(dialog.isModal());
}

TEST(FormLife, ModalShowOfAFormThatUnloadsInItsLoadReturnsAtOnce) {
    Probe form;
    form.unloadInLoad = true;
    form.Show(vbModal);  // would hang if it waited
    EXPECT_FALSE(form.Loaded());
    EXPECT_FALSE(form.Visible());
}

TEST(FormLife, TagCaptionPointerTopmost) {
    Probe form;
    form.Show();
    form.SetCaption("Aerolune: Relaytone");
    EXPECT_EQ(form.Caption(), "Aerolune: Relaytone");
    form.SetMousePointer(vbHourglass);
    EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);
    form.SetMousePointer(vbDefault);
    EXPECT_EQ(form.MousePointer(), vbDefault);
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
    form.SetTopmost(true);
    EXPECT_TRUE(form.Topmost());
    EXPECT_TRUE(form.Visible());  // a flag change must not leave it hidden
    form.SetTopmost(false);
    EXPECT_FALSE(form.Topmost());
    form.Tag = "0";
    EXPECT_EQ(form.Tag, "0");
}

TEST(FormPlace, ReadsBackAsSetUntilTheWindowIsMovedOrResizedThenWhereItReallyIs) {
    Probe form;
    form.Show();
    // 4716 twips is no whole number of pixels: read back exactly while the window keeps them.
    form.Move(1500, 3000, 6000, 5895 / 1.25);
    EXPECT_DOUBLE_EQ(form.Left(), 1500);
    EXPECT_DOUBLE_EQ(form.Top(), 3000);
    EXPECT_DOUBLE_EQ(form.Width(), 6000);
    EXPECT_DOUBLE_EQ(form.Height(), 4716);

    // The operator drags and resizes it.
    form.move(200, 100);
    form.resize(500, 300);
    EXPECT_DOUBLE_EQ(form.Left(), 3000);
    EXPECT_DOUBLE_EQ(form.Top(), 1500);
    EXPECT_DOUBLE_EQ(form.Width(), 7500);
    EXPECT_DOUBLE_EQ(form.Height(), 4500);

    // A restored place leaves the size the operator gave it.
    form.SetLeft(300);
    form.SetTop(450);
    EXPECT_EQ(form.pos(), QPoint(20, 30));
    EXPECT_EQ(form.size(), QSize(500, 300));
    EXPECT_DOUBLE_EQ(form.Width(), 7500);
}
