// The task-dialog control: scripted or on screen, open until a button is clicked.
#include "engine/TaskDialog.h"

#include <algorithm>
#include <memory>

#include <QTimer>
#include <QWidget>

#include "engine/EventPass.h"
#include "engine/TaskDialogWindow.h"
#include "foundation/ConversionsVba.h"
#include "foundation/NeighbourServices.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"

namespace engine {
namespace {

constexpr int kTimerIntervalMs = 100;

struct CommonButton {
    int32_t bit;
    int32_t id;
};
constexpr CommonButton kCommonButtons[] = {{tdbOk, IDOK},       {tdbYes, IDYES},       {tdbNo, IDNO},
                                           {tdbRetry, IDRETRY}, {tdbCancel, IDCANCEL}, {tdbClose, IDCLOSE}};

bool isNumber(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) || c == '-'; });
}

// The button a scripted answer stands for: one of the dialog's, else its default, else its first.
int32_t scriptedButton(const TaskDialogContent& content, const std::string& answer) {
    const std::vector<int32_t> ids = content.ButtonIds();
    int32_t id = 0;
    if (isNumber(answer))
        id = VBA::ValLong(answer);
    else
        id = platform::dialogs::resultOfWord(answer);  // the same numbers as the button ids
    if (std::find(ids.begin(), ids.end(), id) != ids.end()) return id;
    if (std::find(ids.begin(), ids.end(), content.DefaultButton) != ids.end()) return content.DefaultButton;
    return ids.front();
}

}  // namespace

// One dialog from its show to its click.
struct TaskDialogControl::Showing {
    TaskDialogContent content;
    bool clicked = false;
    int32_t id = 0;
    TaskDialogWindow* window = nullptr;
};

std::vector<int32_t> TaskDialogContent::ButtonIds() const {
    std::vector<int32_t> ids;
    for (const CommonButton& common : kCommonButtons)
        if (CommonButtons & common.bit) ids.push_back(common.id);
    for (const TaskDialogButton& button : Buttons) ids.push_back(button.id);
    if (ids.empty()) ids.push_back(IDOK);
    return ids;
}

TaskDialogControl::TaskDialogControl() = default;

TaskDialogControl::~TaskDialogControl() = default;

void TaskDialogControl::Reset() {
    WindowTitle.clear();
    MainInstruction.clear();
    Content.clear();
    Footer.clear();
    DefaultButton = 0;
    CommonButtons = 0;
    hWndParent = 0;
    ShowTimer = 0;
    buttons_.clear();
    radioButtons_.clear();
    if (IsOpen()) return;  // the open dialog keeps its progress and its state
    progressPosition_ = 0;
    progressLow_ = 0;
    progressHigh_ = 100;
    enabled_ = true;
}

void TaskDialogControl::AddButton(const std::string& caption, int32_t id) {
    buttons_.push_back({id, caption});
}

void TaskDialogControl::AddRadioButton(const std::string& caption, int32_t id) {
    radioButtons_.push_back({id, caption});
}

TaskDialogContent TaskDialogControl::Snapshot() const {
    return {WindowTitle,   MainInstruction, Content,   Footer,   DefaultButton,
            CommonButtons, hWndParent,      ShowTimer, buttons_, radioButtons_};
}

TaskDialogWindow* TaskDialogControl::topWindow() const { return top() ? top()->window : nullptr; }

void TaskDialogControl::SetProgressBarPosition(int32_t position) {
    progressPosition_ = position;
    if (TaskDialogWindow* window = topWindow())
        window->showProgress(progressLow_, progressHigh_, progressPosition_);
}

void TaskDialogControl::SetProgressBarRange(int32_t low, int32_t high) {
    progressLow_ = low;
    progressHigh_ = high;
    if (TaskDialogWindow* window = topWindow())
        window->showProgress(progressLow_, progressHigh_, progressPosition_);
}

void TaskDialogControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (TaskDialogWindow* window = topWindow()) window->setEnabled(enabled);
}

void TaskDialogControl::ClickButton(int32_t id) {
    Showing* showing = top();
    if (!showing || showing->clicked) return;
    const std::vector<int32_t> ids = showing->content.ButtonIds();
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) return;
    bool closeDialog = true;
    if (ButtonClicked) ButtonClicked(id, closeDialog);
    if (!closeDialog) return;
    showing->clicked = true;
    showing->id = id;
}

void TaskDialogControl::RadioChosen(int32_t id) {
    if (IsOpen() && enabled_ && RadioButtonClicked) RadioButtonClicked(id);
}

namespace {

// Over the dialog it opens on, else the window the caller named, else the main window.
QWidget* ownerOf(const TaskDialogContent& content, TaskDialogWindow* under) {
    if (under) return under;
    if (content.hWndParent != 0)
        if (QWidget* named = QWidget::find(WId(uint32_t(content.hWndParent)))) return named->window();
    return neighbours::Frm_Main().Widget();
}

}  // namespace

int32_t TaskDialogControl::ShowDialog() {
    TaskDialogWindow* under = topWindow();
    Showing showing{Snapshot()};
    shown_.push_back(&showing);
    const struct Closed {
        std::vector<Showing*>& shown;
        Showing* showing;
        ~Closed() { std::erase(shown, showing); }
    } closed{shown_, &showing};
    const uint64_t shownAt = platform::clock::tick64();

    const TaskDialogContent& content = showing.content;
    std::string asked;
    for (const std::string* text : {&content.MainInstruction, &content.Content, &content.Footer})
        if (!text->empty()) asked += (asked.empty() ? "" : "\n") + *text;
    const std::optional<std::string> answer =
        platform::dialogs::scriptedTaskAnswer(content.WindowTitle, asked);
    std::unique_ptr<TaskDialogWindow> window;
    if (!answer) {
        window = std::make_unique<TaskDialogWindow>(*this, content, ownerOf(content, under));
        showing.window = window.get();
        window->show();
    }

    QTimer timer;
    if (content.ShowTimer == 1) {
        // Only the dialog on top counts its time: the one under it waits as frozen.
        QObject::connect(&timer, &QTimer::timeout, [this, &showing, shownAt] {
            if (top() != &showing || !enabled_ || showing.clicked || !Timer) return;
            Timer(int32_t(platform::clock::tick64() - shownAt));
        });
        timer.start(kTimerIntervalMs);
    }
    if (answer && *answer != "wait") ClickButton(scriptedButton(content, *answer));

    while (!showing.clicked) {
        const bool ended = !passEvents(10);
        if (!ended && !platform::dialogs::stopBegun()) continue;
        // The program has ended under the open dialog, or a stop nobody attends has begun: it
        // closes as the timed close does, so the caller goes on with the default choice and
        // the program can finish.
        const int32_t id = scriptedButton(content, "");
        ClickButton(id);
        if (!showing.clicked) showing.id = id;
        if (!ended)
            platform::dialogs::reportClosedByStop(content.WindowTitle, asked, std::to_string(showing.id));
        break;
    }
    timer.stop();
    return showing.id;
}

}  // namespace engine
