// What the operator reads on the settings pages: every box named by a label, and room in the
// recipients box for two addresses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "settings/FrmSetup.h"
#include "settings/FrmSetupDivers.h"
#include "settings/FrmSetupPeripherique.h"
#include "tests/settings/SettingsSite.h"

namespace settings_test {
namespace {

class PageLayout : public SettingsSite {
protected:
    void SetUp() override {
        SettingsSite::SetUp();
        loadWindows();
    }
};

// A check box names itself; another box is named by a label of its own panel that stands before
// it on its row or heads its column.
bool named(const QWidget& box) {
    if (const auto* check = qobject_cast<const QCheckBox*>(&box)) return !check->text().trimmed().isEmpty();
    const QWidget* panel = box.parentWidget();
    const QRect b = box.geometry();
    for (const QLabel* label : panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (!label->isVisibleTo(panel) || label->text().trimmed().isEmpty()) continue;
        const QRect l = label->geometry();
        const bool beforeOnItsRow = l.right() < b.left() && l.bottom() >= b.top() && l.top() <= b.bottom();
        const bool headsItsColumn = l.bottom() < b.top() && l.right() >= b.left() && l.left() <= b.right();
        if (beforeOnItsRow || headsItsColumn) return true;
    }
    return false;
}

// Every box the operator sees on the page, each tab brought forward in turn.
std::vector<std::string> unnamedBoxes(platform::forms::Form& page) {
    page.Show();
    std::vector<std::string> unnamed;
    const auto look = [&] {
        QApplication::processEvents();
        for (QWidget* box : page.findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(box) && !qobject_cast<QComboBox*>(box) &&
                !qobject_cast<QCheckBox*>(box))
                continue;
            if (qobject_cast<QLineEdit*>(box) && qobject_cast<QComboBox*>(box->parentWidget())) continue;
            if (!box->isVisibleTo(&page) || named(*box)) continue;
            unnamed.push_back(box->objectName().toStdString() + " in " +
                              box->parentWidget()->objectName().toStdString() + " at " +
                              std::to_string(box->x()) + "," + std::to_string(box->y()));
        }
    };
    look();
    for (QTabWidget* tabs : page.findChildren<QTabWidget*>())
        for (int t = 1; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            look();
        }
    page.Hide();
    return unnamed;
}

TEST_F(PageLayout, EveryBoxOfTheDevicesAndMiscellaneousPagesHasALabel) {
    for (platform::forms::Form* page : {static_cast<platform::forms::Form*>(&FrmSetupPeripherique::get()),
                                        static_cast<platform::forms::Form*>(&FrmSetupDivers::get())}) {
        SCOPED_TRACE(page->Name());
        const auto unnamed = unnamedBoxes(*page);
        EXPECT_TRUE(unnamed.empty()) << unnamed.size() << " unnamed, first "
                                     << (unnamed.empty() ? "" : unnamed[0]);
    }
}

TEST_F(PageLayout, TheRecipientsBoxShowsTwoAddressesWhole) {
    FrmSetupDivers& page = FrmSetupDivers::get();
    page.Show();
    page.SftTabsDivers->setCurrentWidget(page.MyFrameMail);
    QApplication::processEvents();
    auto& box = *page.TexteEmailsAdresses;
    box.SetText("technique@radio-nord.fr;exploitation@radio-nord.fr");
    const QMargins margins = box.textMargins() + box.contentsMargins();
    EXPECT_GE(box.width() - margins.left() - margins.right() - 4,
              box.fontMetrics().horizontalAdvance(QString::fromStdString(box.Text())));
    page.Hide();
}

}  // namespace
}  // namespace settings_test
