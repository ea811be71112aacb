// Switches LC_NUMERIC and QLocale's default for a block.
#include "tests/support/DesktopLocale.h"

#include <clocale>

#include <gtest/gtest.h>

namespace support {

DesktopLocale::DesktopLocale(const std::string& name)
    : previousNumeric_(std::setlocale(LC_NUMERIC, nullptr)), previousDefault_(QLocale()) {
    EXPECT_NE(std::setlocale(LC_NUMERIC, name.c_str()), nullptr)
        << name << " is not installed here: run scripts/setup";
    const std::string language = name.substr(0, name.find('.'));
    QLocale::setDefault(language == "C" ? QLocale::c() : QLocale(QString::fromStdString(language)));
}

DesktopLocale::~DesktopLocale() {
    std::setlocale(LC_NUMERIC, previousNumeric_.c_str());
    QLocale::setDefault(previousDefault_);
}

}  // namespace support
