// The look: style and skin chosen once at start-up, then applied to each window as it loads.
#pragma once

#include <cstdint>
#include <string>

#include <QPalette>

class QWidget;

inline int32_t StyleLook = 20;     // 15 skinned, 20 plain
inline int32_t SkinSansTheme = 1;  // 1 while no skin is loaded

namespace Lib_Look {

// Where the look is kept (HKEY_LOCAL_MACHINE).
inline const std::string kLookKey = "Software\\Vantremo\\Aerolune\\Look";

// The skin component's stand-in: a palette of ours for the skinned style, nothing for the
// plain one. It is the engine window's SkinFramework; one for the program.
class SkinFramework {
public:
    // Loads the skin named by its folder and description file; two empty texts: no skin.
    void LoadSkin(const std::string& dossier, const std::string& iniFile);
    // Skins that window (nothing while no skin is loaded).
    void ApplyWindow(QWidget& win);
    // Bit 1: the skin also reaches every window made from now on (the application palette).
    int32_t ApplyOptions() const { return options_; }
    void SetApplyOptions(int32_t options);

    bool skinLoaded() const { return !folder_.empty(); }
    const std::string& skinFolder() const { return folder_; }
    const std::string& skinIniFile() const { return iniFile_; }

private:
    std::string folder_;
    std::string iniFile_;
    int32_t options_ = 0;
};
SkinFramework& Skin();
// Back to the start of the process: the plain style, no skin, the application's own palette.
void resetLook();

// Style -1 reads the registry ("Style", once migrating the old 17 to 15); any other value is
// taken as it is. Anything but 15 is the plain style 20. Loads or clears the skin, skins the
// main window and sets the font scale of large-font screens.
void InitGeneralLook(int32_t style);
// Styles the controls of one window by their kind, as the current style asks.
void LookFenetre(QWidget& win);

// The colours of both styles (the base colour of style 20 is the system's window background).
QColor baseColour();
inline const QColor kFieldColour{255, 239, 178};
inline const QColor kLightHeader{252, 252, 254};
inline const QColor kDarkGrey{80, 80, 80};
inline const QColor kTabGrey{225, 225, 225};
inline const QColor kActiveTabStart{195, 221, 245};
inline const QColor kActiveTabEnd{119, 190, 242};

// The control kind as the styling knows it ("TextBox", "SftTabs", ...), empty for others.
std::string TypeName(const QWidget& controlItem);

}  // namespace Lib_Look
