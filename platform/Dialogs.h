// The one seam every message box, input box and file or folder dialog goes through.
// Answers come from the in-process queue, then from AL3_ANSWERS, then from the screen.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::dialogs {

// Message box results and styles, numbered as the Windows message box numbers them.
enum Result { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };
enum Style {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
    vbMsgBoxSetForeground = 65536
};

enum class Kind { Message, Input, Folder, OpenFile, Window, Task };

struct Asked {
    Kind kind;
    std::string title;
    std::string text;
    std::string answer;
};

// answerKeepingStored: for a question whose default answer would change what is stored, the
// answer that leaves it as it was; an unattended stop takes that one instead of the default.
int MsgBox(const std::string& text, int style, const std::string& title, int answerKeepingStored = 0);
// Empty when cancelled.
std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& defaultText);
std::optional<std::string> PickFolder(const std::string& title, const std::string& initialFolder);
std::optional<std::string> PickOpenFile(const std::string& title, const std::string& initialFolder,
                                        const std::string& filter, const std::string& fileName);

// A modal window of the program's own (a choice dialog): in scripted runs the next answer
// stands for the operator's choice and nothing is shown ("" once the list is used up, for the
// window's default button); empty optional when the window must be shown.
std::optional<std::string> scriptedWindowAnswer(const std::string& title, const std::string& text);
// A task dialog: the same, recorded as kind Task; the answer is a button id or word.
std::optional<std::string> scriptedTaskAnswer(const std::string& title, const std::string& text);

// A stop nobody attends (a stop signal, the end of the desktop session) has begun: from now on
// every box takes its default answer without showing (an input or file dialog is cancelled),
// and the boxes open now close the same way. Each such answer is reported as one line that
// starts with cause. Runs on the user-interface thread.
void beginStop(const std::string& cause);
bool stopBegun();
std::string stopCause();  // empty until a stop has begun
// Where those lines go (the main program's daily log); standard error until one is set.
void setStopReport(std::function<void(const std::string& line)> report);
// How many boxes the presenter has on screen now (a nested box counts too).
int boxesOnScreen();
// For a dialog of the program's own that an unattended stop closed through its default.
void reportClosedByStop(const std::string& title, const std::string& text, const std::string& answer);

// What really shows the boxes; the windows layer registers one.
class Presenter {
public:
    virtual ~Presenter() = default;
    virtual int messageBox(const std::string& text, int style, const std::string& title) = 0;
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    virtual std::optional<std::string> pickFolder(const std::string& title,
                                                  const std::string& initialFolder) = 0;
    virtual std::optional<std::string> pickOpenFile(const std::string& title,
                                                    const std::string& initialFolder,
                                                    const std::string& filter,
                                                    const std::string& fileName) = 0;
    // Closes every box it shows now; each one's call returns its default answer.
    virtual void closeOpenBoxes() {}
};
void setPresenter(Presenter* presenter);

// Test side: queue the next answers ("yes", "no", "ok", "cancel", "abort", "retry",
// "ignore", a path or a text), read back what was asked.
void queueAnswers(const std::vector<std::string>& answers);
void reset();
// Test side: once the queue is used up, the boxes and the program's own windows are shown on
// the screen (offscreen in tests) for the test to drive, as in a run without answers.
void showOnScreen();
std::vector<Asked> asked();

int resultOfWord(const std::string& word);  // 0 when the word is not a button
std::string wordOfResult(int result);
int defaultResult(int style);

}  // namespace platform::dialogs
