// Answer seam: scripted answers for tests and unattended runs, the screen otherwise.
#include "platform/Dialogs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace platform::dialogs {
namespace {

struct State {
    std::mutex mutex;
    Presenter* presenter = nullptr;
    std::deque<std::string> queued;
    bool scripted = false;  // answers come from a script: never show anything
    bool envRead = false;
    bool echo = false;  // AL3_ANSWERS runs write each box to standard error
    std::vector<Asked> asked;
    int onScreen = 0;       // presenter calls under way
    std::string stopCause;  // not empty once an unattended stop has begun
    std::function<void(const std::string&)> stopReport;
};

State& state() {
    static State s;
    return s;
}

void readEnvironment(State& s) {
    if (s.envRead) return;
    s.envRead = true;
    const char* env = std::getenv("AL3_ANSWERS");
    if (!env) return;
    s.scripted = true;
    s.echo = true;
    std::string item;
    for (const char* p = env;; ++p) {
        if (*p == ',' || *p == 0) {
            s.queued.push_back(item);
            item.clear();
            if (*p == 0) break;
        } else {
            item += *p;
        }
    }
}

// Next scripted answer; empty optional when the screen should answer; "" for the default.
std::optional<std::string> scriptedAnswer(State& s) {
    readEnvironment(s);
    if (!s.queued.empty()) {
        std::string next = s.queued.front();
        s.queued.pop_front();
        return next;
    }
    if (s.scripted || !s.presenter) return std::string();
    return std::nullopt;
}

void record(State& s, Kind kind, const std::string& title, const std::string& text,
            const std::string& answer) {
    s.asked.push_back({kind, title, text, answer});
    if (s.echo) std::fprintf(stderr, "[dialog] %s | %s | %s\n", title.c_str(), text.c_str(), answer.c_str());
}

// Counts one presenter call for as long as it runs; the caller holds no lock meanwhile.
class OnScreen {
public:
    explicit OnScreen(State& s) : s_(s) {
        std::lock_guard lock(s_.mutex);
        ++s_.onScreen;
    }
    ~OnScreen() {
        std::lock_guard lock(s_.mutex);
        --s_.onScreen;
    }
    OnScreen(const OnScreen&) = delete;
    OnScreen& operator=(const OnScreen&) = delete;

private:
    State& s_;
};

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// The line that tells why a box answered by itself; sent once the seam's lock is released.
void reportStopAnswer(std::unique_lock<std::mutex>& lock, const State& s, bool wasOpen,
                      const std::string& title, const std::string& text, const std::string& answer,
                      bool keptStored = false) {
    const std::string kept = "the answer that keeps the stored settings";
    const std::string line = "Warning: " + s.stopCause +
                             (wasOpen ? ": open box closed with " + (keptStored ? kept : "its default answer")
                                      : ": box not shown, " + (keptStored ? kept : "default answer")) +
                             " (" + answer + "): " + title + " | " + oneLine(text);
    const auto report = s.stopReport;
    lock.unlock();
    if (report)
        report(line);
    else
        std::fprintf(stderr, "%s\n", line.c_str());
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::optional<std::string> pathAnswer(Kind kind, const std::string& title, const std::string& text,
                                      auto&& show) {
    State& s = state();
    std::unique_lock lock(s.mutex);
    if (!s.stopCause.empty()) {
        record(s, kind, title, text, "cancel");
        reportStopAnswer(lock, s, false, title, text, "cancel");
        return std::nullopt;
    }
    std::optional<std::string> answer = scriptedAnswer(s);
    if (!answer) {
        Presenter* presenter = s.presenter;
        lock.unlock();
        std::optional<std::string> shown;
        {
            const OnScreen counted(s);
            shown = show(presenter);
        }
        lock.lock();
        if (!s.stopCause.empty()) shown.reset();
        record(s, kind, title, text, shown ? *shown : "cancel");
        if (!s.stopCause.empty()) reportStopAnswer(lock, s, true, title, text, "cancel");
        return shown;
    }
    record(s, kind, title, text, answer->empty() ? "cancel" : *answer);
    if (answer->empty() || lower(*answer) == "cancel") return std::nullopt;
    return answer;
}

}  // namespace

int resultOfWord(const std::string& word) {
    const std::string w = lower(word);
    if (w == "ok") return vbOK;
    if (w == "cancel") return vbCancel;
    if (w == "abort") return vbAbort;
    if (w == "retry") return vbRetry;
    if (w == "ignore") return vbIgnore;
    if (w == "yes") return vbYes;
    if (w == "no") return vbNo;
    return 0;
}

std::string wordOfResult(int result) {
    switch (result) {
        case vbOK:
            return "ok";
        case vbCancel:
            return "cancel";
        case vbAbort:
            return "abort";
        case vbRetry:
            return "retry";
        case vbIgnore:
            return "ignore";
        case vbYes:
            return "yes";
        case vbNo:
            return "no";
        default:
            return "";
    }
}

int defaultResult(int style) {
    static const std::vector<std::vector<int>> buttons = {
        {vbOK},        {vbOK, vbCancel},   {vbAbort, vbRetry, vbIgnore}, {vbYes, vbNo, vbCancel},
        {vbYes, vbNo}, {vbRetry, vbCancel}};
    const auto& set = buttons[size_t(std::clamp(style & 7, 0, 5))];
    const size_t index = size_t((style >> 8) & 3);
    return index < set.size() ? set[index] : set[0];
}

int MsgBox(const std::string& text, int style, const std::string& title, int answerKeepingStored) {
    State& s = state();
    std::unique_lock lock(s.mutex);
    const bool stopBefore = !s.stopCause.empty();
    std::optional<std::string> answer = stopBefore ? std::string() : scriptedAnswer(s);
    int result = 0;
    if (!answer) {
        Presenter* presenter = s.presenter;
        lock.unlock();
        {
            const OnScreen counted(s);
            result = presenter->messageBox(text, style, title);
        }
        lock.lock();
    } else {
        result = resultOfWord(*answer);
        if (result == 0) result = defaultResult(style);
    }
    const bool stopNow = !s.stopCause.empty();
    if (stopNow) result = answerKeepingStored != 0 ? answerKeepingStored : defaultResult(style);
    record(s, Kind::Message, title, text, wordOfResult(result));
    if (stopNow)
        reportStopAnswer(lock, s, !stopBefore, title, text, wordOfResult(result), answerKeepingStored != 0);
    return result;
}

std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& defaultText) {
    return pathAnswer(Kind::Input, title, prompt,
                      [&](Presenter* p) { return p->inputBox(prompt, title, defaultText); });
}

std::optional<std::string> PickFolder(const std::string& title, const std::string& initialFolder) {
    return pathAnswer(Kind::Folder, title, initialFolder,
                      [&](Presenter* p) { return p->pickFolder(title, initialFolder); });
}

std::optional<std::string> PickOpenFile(const std::string& title, const std::string& initialFolder,
                                        const std::string& filter, const std::string& fileName) {
    return pathAnswer(Kind::OpenFile, title, initialFolder,
                      [&](Presenter* p) { return p->pickOpenFile(title, initialFolder, filter, fileName); });
}

namespace {

std::optional<std::string> scriptedOwnAnswer(Kind kind, const std::string& title, const std::string& text) {
    State& s = state();
    std::unique_lock lock(s.mutex);
    if (!s.stopCause.empty()) {
        record(s, kind, title, text, "default");
        reportStopAnswer(lock, s, false, title, text, "default");
        return std::string();
    }
    readEnvironment(s);
    if (s.queued.empty() && !s.scripted) return std::nullopt;
    std::string answer;
    if (!s.queued.empty()) {
        answer = s.queued.front();
        s.queued.pop_front();
    }
    record(s, kind, title, text, answer.empty() ? "default" : answer);
    return answer;
}

}  // namespace

std::optional<std::string> scriptedWindowAnswer(const std::string& title, const std::string& text) {
    return scriptedOwnAnswer(Kind::Window, title, text);
}

std::optional<std::string> scriptedTaskAnswer(const std::string& title, const std::string& text) {
    return scriptedOwnAnswer(Kind::Task, title, text);
}

void beginStop(const std::string& cause) {
    State& s = state();
    std::unique_lock lock(s.mutex);
    if (!s.stopCause.empty()) return;
    s.stopCause = cause;
    Presenter* presenter = s.presenter;
    lock.unlock();
    if (presenter) presenter->closeOpenBoxes();
}

bool stopBegun() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return !s.stopCause.empty();
}

std::string stopCause() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.stopCause;
}

int boxesOnScreen() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.onScreen;
}

void setStopReport(std::function<void(const std::string& line)> report) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.stopReport = std::move(report);
}

void reportClosedByStop(const std::string& title, const std::string& text, const std::string& answer) {
    State& s = state();
    std::unique_lock lock(s.mutex);
    reportStopAnswer(lock, s, true, title, text, answer);
}

void setPresenter(Presenter* presenter) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.presenter = presenter;
}

void queueAnswers(const std::vector<std::string>& answers) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.scripted = true;
    s.queued.insert(s.queued.end(), answers.begin(), answers.end());
}

void reset() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.queued.clear();
    s.asked.clear();
    s.stopCause.clear();
    s.stopReport = nullptr;
    s.scripted = true;  // a test never falls through to the screen
    s.envRead = true;
}

void showOnScreen() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.scripted = false;
}

std::vector<Asked> asked() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.asked;
}

}  // namespace platform::dialogs
