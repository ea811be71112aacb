// Window base with VB's life cycle: loaded once, shown modal or modeless, hidden, unloaded.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QWidget>

#include "platform/Window.h"
#include "platform/forms/Control.h"
#include "platform/forms/WindowPlace.h"

class QEventLoop;

namespace platform::forms {

// Why a window is being unloaded, numbered as VB numbers it.
enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };
enum ShowMode { vbModeless = 0, vbModal = 1 };
enum MousePointerShape { vbDefault = 0, vbHourglass = 11 };

class Form : public QWidget, public platform::Window {
public:
    explicit Form(const std::string& name);
    ~Form() override;

    const std::string& Name() const { return name_; }

    // Runs Form_Load unless the window is loaded already.
    void Load();
    bool Loaded() const { return loaded_; }
    // The loaded windows, first loaded first (VB's Forms collection).
    static const std::vector<Form*>& LoadedForms();
    // Loads when needed, then shows; vbModal returns once the window is hidden or unloaded.
    // An owned window stays in front of its owner, has no taskbar entry of its own, and opens
    // over its owner when nothing has placed it yet.
    void Show(int mode = vbModeless, Form* owner = nullptr);
    void Hide();
    // Asks Form_QueryUnload, then Form_Unload; false when either cancelled. The object stays:
    // a later Load runs Form_Load again. The user's close box unloads with vbFormControlMenu.
    bool Unload(int mode = vbFormCode);
    bool Visible() const { return isVisible(); }
    bool ShownModal() const { return modalLoop_ != nullptr; }

    std::string Caption() const { return windowTitle().toStdString(); }
    void SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }
    // Tag comes from platform::Window.

    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int shape) override;  // vbDefault or vbHourglass
    bool Topmost() const;
    void SetTopmost(bool topmost) override;

    // Twips; read back as set while the window stays there, else from its real geometry.
    void Move(double left, double top, double width, double height) {
        placed_ = true;
        place_.Move(*this, left, top, width, height);
    }
    void SetLeft(double v) {
        placed_ = true;
        place_.SetLeft(*this, v);
    }
    void SetTop(double v) {
        placed_ = true;
        place_.SetTop(*this, v);
    }
    void SetWidth(double v) { place_.SetWidth(*this, v); }
    void SetHeight(double v) { place_.SetHeight(*this, v); }
    double Left() const { return place_.Left(*this); }
    double Top() const { return place_.Top(*this); }
    double Width() const { return place_.Width(*this); }
    double Height() const { return place_.Height(*this); }
    void CentreOnScreen();

    void setVisible(bool visible) override;

protected:
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {}
    virtual void Form_Unload(int& /*cancel*/) {}

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void beOwnedBy(Form& owner);
    void centreOver(const QRect& area);

    std::string name_;
    bool loaded_ = false;
    bool loading_ = false;
    bool unloading_ = false;
    int mousePointer_ = vbDefault;
    QEventLoop* modalLoop_ = nullptr;
    WindowPlace place_;
    bool owned_ = false;
    bool placed_ = false;             // by code, or shown once
    std::optional<QRect> opensOver_;  // the owner's frame, for a first show
};

}  // namespace platform::forms
