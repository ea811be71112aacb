// Record numbers and shared pieces of the BIFF8 workbook stream.
#pragma once

#include <array>
#include <cstdint>

namespace platform::xls::biff8 {

enum Record : uint16_t {
    kBof = 0x0809,
    kEof = 0x000A,
    kCodepage = 0x0042,
    kWindow1 = 0x003D,
    kFont = 0x0031,
    kXf = 0x00E0,
    kStyle = 0x0293,
    kPalette = 0x0092,
    kBoundSheet = 0x0085,
    kSst = 0x00FC,
    kContinue = 0x003C,
    kDimensions = 0x0200,
    kLabelSst = 0x00FD,
    kLabel = 0x0204,
    kBlank = 0x0201,
    kMulBlank = 0x00BE,
    kNumber = 0x0203,
    kRk = 0x027E,
    kMulRk = 0x00BD,
    kFormula = 0x0006,
    kString = 0x0207,
    kSharedFormula = 0x04BC,
    kArray = 0x0221,
    kTable = 0x0236,
    kBoolErr = 0x0205,
    kRString = 0x00D6,
    kCountry = 0x008C,
    kWindow2 = 0x023E,
};

inline constexpr uint16_t kBiff8Version = 0x0600;
inline constexpr uint16_t kGlobalsType = 0x0005;
inline constexpr uint16_t kWorksheetType = 0x0010;
inline constexpr size_t kMaxRecordBody = 8224;

// Palette indexes: 8 fixed colours, then 56 the workbook may redefine; 0x40 and up are the
// system's automatic colours.
inline constexpr int kFirstCustomColour = 8;
inline constexpr int kCustomColours = 56;
inline constexpr uint16_t kAutomaticPatternColour = 0x40;
inline constexpr uint16_t kAutomaticBackColour = 0x41;
inline constexpr uint16_t kAutomaticFontColour = 0x7FFF;

// Excel's colours for indexes 8 to 63 when a workbook has no palette of its own (R, G, B).
inline constexpr std::array<std::array<uint8_t, 3>, kCustomColours> kDefaultPalette{{
    {0, 0, 0},       {255, 255, 255}, {255, 0, 0},     {0, 255, 0},     {0, 0, 255},     {255, 255, 0},
    {255, 0, 255},   {0, 255, 255},   {128, 0, 0},     {0, 128, 0},     {0, 0, 128},     {128, 128, 0},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {153, 153, 255}, {153, 51, 102},
    {255, 255, 204}, {204, 255, 255}, {102, 0, 102},   {255, 128, 128}, {0, 102, 204},   {204, 204, 255},
    {0, 0, 128},     {255, 0, 255},   {255, 255, 0},   {0, 255, 255},   {128, 0, 128},   {128, 0, 0},
    {0, 128, 128},   {0, 0, 255},     {0, 204, 255},   {204, 255, 255}, {204, 255, 204}, {255, 255, 153},
    {153, 204, 255}, {255, 153, 204}, {204, 153, 255}, {255, 204, 153}, {51, 102, 255},  {51, 204, 204},
    {153, 204, 0},   {255, 204, 0},   {255, 153, 0},   {255, 102, 0},   {102, 102, 153}, {150, 150, 150},
    {0, 51, 102},    {51, 153, 102},  {0, 51, 0},      {51, 51, 0},     {153, 51, 0},    {153, 51, 102},
    {51, 51, 153},   {51, 51, 51},
}};

// 0x00BBGGRR from red, green and blue, as VB's RGB().
inline int32_t vbColour(uint32_t r, uint32_t g, uint32_t b) { return int32_t(r | g << 8 | b << 16); }

}  // namespace platform::xls::biff8
