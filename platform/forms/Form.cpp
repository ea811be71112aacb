// Window life cycle: the modal show runs its own event loop until the window goes away.
#include "platform/forms/Form.h"

#include <algorithm>

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "platform/ScopedFlag.h"

namespace platform::forms {
namespace {

// Kept past static destruction: a window that outlives it still takes itself out.
std::vector<Form*>& loadedList() {
    static auto* forms = new std::vector<Form*>;
    return *forms;
}

void forget(Form* form) { std::erase(loadedList(), form); }

}  // namespace

const std::vector<Form*>& Form::LoadedForms() { return loadedList(); }

Form::Form(const std::string& name) : QWidget(nullptr), name_(name) {
    setObjectName(QString::fromStdString(name));
}

Form::~Form() {
    forget(this);
    if (modalLoop_) modalLoop_->quit();
}

void Form::Load() {
    if (loaded_ || loading_) return;
    const ScopedFlag loading(loading_);
    loaded_ = true;
    loadedList().push_back(this);
    Form_Load();
}

void Form::Show(int mode, Form* owner) {
    Load();
    if (!loaded_) return;  // Form_Load unloaded it again
    if (mode != vbModal || modalLoop_) {
        show();
        raise();
        return;
    }
    if (owner) {
        owner->winId();
        winId();
        windowHandle()->setTransientParent(owner->windowHandle());
    }
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    modalLoop_ = &loop;
    if (isVisible()) loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
    if (isVisible()) hide();
    setWindowModality(Qt::NonModal);
}

void Form::Hide() {
    hide();
    if (modalLoop_) modalLoop_->quit();
}

bool Form::Unload(int mode) {
    if (!loaded_ || unloading_) return true;
    int cancel = 0;
    {
        const ScopedFlag unloading(unloading_);
        Form_QueryUnload(cancel, mode);
        if (cancel == 0) Form_Unload(cancel);
    }
    if (cancel != 0) return false;
    loaded_ = false;
    forget(this);
    Hide();
    return true;
}

void Form::closeEvent(QCloseEvent* event) {
    // The form decides through its own unload handlers; Qt must not hide it behind their back.
    event->ignore();
    Unload(vbFormControlMenu);
}

void Form::SetMousePointer(int shape) {
    mousePointer_ = shape;
    if (shape == vbHourglass)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

bool Form::Topmost() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void Form::SetTopmost(bool topmost) {
    if (Topmost() == topmost) return;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, topmost);  // hides a shown window
    if (shown) show();
}

void Form::CentreOnScreen() {
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where) return;
    QRect frame = frameGeometry();
    frame.moveCenter(where->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace platform::forms
