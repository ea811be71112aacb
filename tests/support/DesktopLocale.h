// A block run as if the desktop's locale were another: the C library's LC_NUMERIC and Qt's
// default locale both switched, and put back at the end of the block.
#pragma once

#include <string>

#include <QLocale>

namespace support {

class DesktopLocale {
public:
    // "fr_FR.UTF-8", "de_DE.UTF-8", "C.UTF-8"; fails the test when the system lacks it
    // (scripts/setup makes fr_FR and de_DE).
    explicit DesktopLocale(const std::string& name);
    ~DesktopLocale();
    DesktopLocale(const DesktopLocale&) = delete;
    DesktopLocale& operator=(const DesktopLocale&) = delete;

private:
    std::string previousNumeric_;
    QLocale previousDefault_;
};

}  // namespace support
