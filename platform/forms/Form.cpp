// Window life cycle: the modal show runs its own event loop until the window goes away.
#include "platform/forms/Form.h"

#include <algorithm>

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "platform/ScopedFlag.h"
#include "platform/forms/WindowFrame.h"

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
    if (owner && owner != this) beOwnedBy(*owner);
    if (mode != vbModal || modalLoop_) {
        show();
        raise();
        if (owned_) activateWindow();  // brought up over its owner, where the operator asked for it
        return;
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

// On X11 only a dialog's window carries its owner to the window manager, which then keeps it in
// front of the owner.
void Form::beOwnedBy(Form& owner) {
    if (windowType() != Qt::Dialog) {
        const bool shown = isVisible();
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);  // hides a shown window
        if (shown) show();
    }
    owned_ = true;
    owner.winId();
    winId();
    windowHandle()->setTransientParent(owner.windowHandle());
    if (!placed_ && !isVisible()) {
        const auto frame = realFrame(owner);
        opensOver_ = frame ? *frame : owner.frameGeometry();
    }
}

void Form::setVisible(bool visible) {
    if (!visible && isVisible()) place_.Hiding(*this);
    QWidget::setVisible(visible);
}

void Form::showEvent(QShowEvent* event) {
    if (opensOver_) centreOver(*opensOver_);  // now that the window has its size
    opensOver_.reset();
    placed_ = true;
    place_.Showing(*this);
    if (QWindow* handle = windowHandle()) {
        handle->installEventFilter(this);  // its exposure: the window manager has framed it
        if (owned_) keepOffTaskbar(*this);
    }
    QWidget::showEvent(event);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle() && place_.AwaitsFrame() &&
        windowHandle()->isExposed())
        place_.Framed(*this);
    return QWidget::eventFilter(watched, event);
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

// Through the native window, which keeps it: a widget's own flag change makes a new native
// window, which forgets its owner and its place on X11.
void Form::SetTopmost(bool topmost) {
    if (Topmost() == topmost) return;
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    overrideWindowFlags(flags);
    if (QWindow* handle = windowHandle()) handle->setFlags(flags);
}

void Form::CentreOnScreen() {
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (where) centreOver(where->availableGeometry());
}

void Form::centreOver(const QRect& area) {
    placed_ = true;
    place_.CentreOver(*this, area);
}

}  // namespace platform::forms
