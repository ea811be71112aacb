// The controls' VB rules: which changes run the handlers, and what AddItem leaves selected.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/ListBox.h"
#include "platform/forms/TextBox.h"

using namespace platform::forms;

TEST(CheckBoxRules, EveryNewValueRunsClickOnce) {
    QWidget parent;
    CheckBox box(&parent);
    std::vector<int> seen;
    box.Click = [&] { seen.push_back(box.Value()); };
    const struct {
        int set;
        int value;
        size_t clicks;
    } steps[] = {
        {0, 0, 0},                                               // the value it already has: nothing
        {1, 1, 1},  {1, 1, 1}, {2, 2, 2}, {0, 0, 3}, {3, 0, 3},  // not a check-box value: refused
        {-1, 0, 3},
    };
    for (const auto& s : steps) {
        box.SetValue(s.set);
        EXPECT_EQ(box.Value(), s.value) << "set " << s.set;
        EXPECT_EQ(seen.size(), s.clicks) << "set " << s.set;
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));  // the handler sees the new value
}

TEST(CheckBoxRules, UserClickTogglesAndGreyGoesToTicked) {
    QWidget parent;
    CheckBox box(&parent);
    int clicks = 0;
    box.Click = [&] { ++clicks; };
    box.click();
    EXPECT_EQ(box.Value(), vbChecked);
    EXPECT_EQ(box.checkState(), Qt::Checked);
    box.click();
    EXPECT_EQ(box.Value(), vbUnchecked);
    box.SetValue(vbGrayed);
    EXPECT_EQ(box.checkState(), Qt::PartiallyChecked);
    box.click();
    EXPECT_EQ(box.Value(), vbChecked);
    EXPECT_EQ(clicks, 4);
}

TEST(ComboBoxRules, AddItemNeverSelects) {
    QWidget parent;
    ComboBox box(&parent);
    int clicks = 0;
    box.Click = [&] { ++clicks; };
    box.AddItem("Base 1");
    box.AddItem("Base 2");
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_EQ(box.Text(), "");
    box.SetListIndex(1);
    box.AddItem("Base 0", 0);  // an insert above keeps the same entry selected
    EXPECT_EQ(box.ListCount(), 3);
    EXPECT_EQ(box.List(0), "Base 0");
    EXPECT_EQ(box.Text(), "Base 2");
    EXPECT_EQ(box.List(3), "");
    EXPECT_EQ(clicks, 1);
}

TEST(ComboBoxRules, ListIndexFromCodeRunsClickOnChange) {
    QWidget parent;
    ComboBox box(&parent);
    for (const char* text : {"a", "b", "c"}) box.AddItem(text);
    std::vector<int> seen;
    box.Click = [&] { seen.push_back(box.ListIndex()); };
    for (int index : {0, 0, 2, 3, -2, -1, 1}) box.SetListIndex(index);
    EXPECT_EQ(seen, (std::vector<int>{0, 2, -1, 1}));  // repeats and out-of-range do nothing
    box.Clear();
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_EQ(box.ListCount(), 0);
    EXPECT_EQ(seen.size(), 4u);  // Clear runs no handler
}

TEST(ComboBoxRules, UserPickRunsClick) {
    QWidget parent;
    ComboBox box(&parent);
    for (const char* text : {"a", "b"}) box.AddItem(text);
    box.SetListIndex(0);
    std::vector<int> seen;
    box.Click = [&] { seen.push_back(box.ListIndex()); };
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(seen, (std::vector<int>{1}));
}

TEST(ListBoxRules, LinesInOrder) {
    QWidget parent;
    ListBox list(&parent);
    list.AddItem("one");
    list.AddItem("two");
    list.AddItem("three");
    list.RemoveItem(1);
    list.RemoveItem(7);
    ASSERT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.List(0), "one");
    EXPECT_EQ(list.List(1), "three");
    EXPECT_EQ(list.List(2), "");
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
}

TEST(TextAndButtons, HandlersAndArrays) {
    QWidget parent;
    TextBox text(&parent);
    int changes = 0;
    text.Change = [&] { ++changes; };
    text.SetText("127.0.0.1");
    text.SetText("127.0.0.1");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(text.Text(), "127.0.0.1");

    std::vector<CommandButton*> CommandFermer;
    std::vector<int> pressed;
    for (int i = 0; i < 2; ++i) {
        CommandFermer.push_back(new CommandButton(&parent, i));
        CommandFermer[size_t(i)]->Click = [&pressed, i] { pressed.push_back(i); };
    }
    CommandFermer[1]->click();
    CommandFermer[0]->click();
    EXPECT_EQ(pressed, (std::vector<int>{1, 0}));
    EXPECT_EQ(CommandFermer[1]->Index(), 1);
}

TEST(TextAndButtons, VisibleAndTwipsAsSet) {
    QWidget hiddenParent;  // never shown: Visible still reads what the code set
    CommandButton button(&hiddenParent);
    EXPECT_TRUE(button.Visible());
    button.SetVisible(false);
    EXPECT_FALSE(button.Visible());
    button.Move(6300 / 1.25, 5340 / 1.25, 1155 / 1.25, 375);
    EXPECT_DOUBLE_EQ(button.Left(), 5040);
    EXPECT_DOUBLE_EQ(button.Width(), 924);
    EXPECT_EQ(button.geometry(), QRect(336, 285, 62, 25));
}
