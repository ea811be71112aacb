// The task-dialog control: scripted or on screen, open until a button is clicked.
#include "engine/TaskDialog.h"

#include <algorithm>
#include <memory>

#include <QTimer>

#include "engine/EventPass.h"
#include "engine/TaskDialogWindow.h"
#include "foundation/ConversionsVba.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ScopedFlag.h"

namespace engine {
namespace {

constexpr int kTimerIntervalMs = 100;

struct CommonButton {
    int32_t bit;
    int32_t id;
};
constexpr CommonButton kCommonButtons[] = {
    {tdbOk, IDOK}, {tdbYes, IDYES}, {tdbNo, IDNO}, {tdbRetry, IDRETRY}, {tdbCancel, IDCANCEL},
    {tdbClose, IDCLOSE}};

bool isNumber(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isdigit(c) || c == '-';
    });
}

}  // namespace

TaskDialogControl::TaskDialogControl() = default;

TaskDialogControl::~TaskDialogControl() = default;

void TaskDialogControl::Reset() {
    if (open_) return;  // the open dialog keeps what it shows
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
    properties_.clear();
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

std::vector<int32_t> TaskDialogControl::ButtonIds() const {
    std::vector<int32_t> ids;
    for (const CommonButton& common : kCommonButtons)
        if (CommonButtons & common.bit) ids.push_back(common.id);
    for (const TaskDialogButton& button : buttons_) ids.push_back(button.id);
    if (ids.empty()) ids.push_back(IDOK);
    return ids;
}

int32_t TaskDialogControl::Property(int32_t number) const {
    const auto found = properties_.find(number);
    return found == properties_.end() ? 0 : found->second;
}

void TaskDialogControl::SetProgressBarPosition(int32_t position) {
    progressPosition_ = position;
    if (window_) window_->showProgress(progressLow_, progressHigh_, progressPosition_);
}

void TaskDialogControl::SetProgressBarRange(int32_t low, int32_t high) {
    progressLow_ = low;
    progressHigh_ = high;
    if (window_) window_->showProgress(progressLow_, progressHigh_, progressPosition_);
}

void TaskDialogControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (window_) window_->setEnabled(enabled);
}

int32_t TaskDialogControl::scriptedButton(const std::string& answer) const {
    const std::vector<int32_t> ids = ButtonIds();
    int32_t id = 0;
    if (isNumber(answer)) id = VBA::ValLong(answer);
    else id = platform::dialogs::resultOfWord(answer);  // the same numbers as the button ids
    if (std::find(ids.begin(), ids.end(), id) != ids.end()) return id;
    if (std::find(ids.begin(), ids.end(), DefaultButton) != ids.end()) return DefaultButton;
    return ids.front();
}

void TaskDialogControl::ClickButton(int32_t id) {
    if (!open_ || clicked_) return;
    const std::vector<int32_t> ids = ButtonIds();
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) return;
    bool closeDialog = true;
    if (ButtonClicked) ButtonClicked(id, closeDialog);
    if (!closeDialog) return;
    clicked_ = true;
    clickedId_ = id;
}

void TaskDialogControl::RadioChosen(int32_t id) {
    if (open_ && enabled_ && RadioButtonClicked) RadioButtonClicked(id);
}

int32_t TaskDialogControl::ShowDialog() {
    if (open_) return 0;  // one dialog at a time; a nested show has nothing to wait for
    const platform::ScopedFlag open(open_);
    clicked_ = false;
    clickedId_ = 0;
    const uint64_t shownAt = platform::clock::tick64();

    std::string asked;
    for (const std::string* text : {&MainInstruction, &Content, &Footer})
        if (!text->empty()) asked += (asked.empty() ? "" : "\n") + *text;
    const std::optional<std::string> answer =
        platform::dialogs::scriptedTaskAnswer(WindowTitle, asked);
    std::unique_ptr<TaskDialogWindow> window;
    if (!answer) {
        window = std::make_unique<TaskDialogWindow>(*this);
        window_ = window.get();
        window->open();
    }

    QTimer timer;
    if (ShowTimer == 1) {
        QObject::connect(&timer, &QTimer::timeout, [this, shownAt] {
            if (!enabled_ || clicked_ || !Timer) return;
            Timer(int32_t(platform::clock::tick64() - shownAt));
        });
        timer.start(kTimerIntervalMs);
    }
    if (answer && *answer != "wait") ClickButton(scriptedButton(*answer));

    while (!clicked_) {
        const bool ended = !PasserLesEvenements(10);
        if (!ended && !platform::dialogs::stopBegun()) continue;
        // The program has ended under the open dialog, or a stop nobody attends has begun: it
        // closes as the timed close does, so the caller goes on with the default choice and
        // the program can finish.
        const int32_t id = scriptedButton("");
        ClickButton(id);
        if (!clicked_) clickedId_ = id;
        if (!ended) platform::dialogs::reportClosedByStop(WindowTitle, asked, std::to_string(clickedId_));
        break;
    }
    timer.stop();
    window_ = nullptr;
    return clickedId_;
}

}  // namespace engine
