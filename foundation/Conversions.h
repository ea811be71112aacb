// Text, number and date conversions of Lib_Public (and Lib_Email's duration text).
#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"

// Folder, file name and extension of the last Lib_Public::EclateRepFicExt call.
struct DirFileExt {
    std::string Rep;  // folder with its trailing separator, or empty
    std::string Fic;  // file name without extension
    std::string Ext;  // extension with its leading ".", or empty
};
inline DirFileExt PbTRepFicExt;

namespace Lib_Public {

// The date of a day count 0 (30 December 1899, midnight): the time-of-day base, and what
// S2D gives for fields that compose no date.
platform::LocalClockTime nullDate();

// The tag's value: the text between the tag (found without regard to case) and the next ">".
std::string ExtraireBalise(const std::string& message, const std::string& tag,
                           const std::string& defaultValue);
// The number on width characters: pad in front, leftmost digits dropped when too wide; with
// decimals the point takes the first character's place; a minus takes the last blank, or a
// leading "0", or goes in front.
std::string N2S(double value, int16_t width, int16_t decimals = 0, const std::string& pad = "0");
std::string D2S(platform::LocalClockTime date);
// "YYYYMMDD" to a date; months and days out of range carry into the next unit.
platform::LocalClockTime S2D(const std::string& text);
// Tokens yyyy, MM, dd, hh, mm (minutes after an hour token), ss, w (day of the week, Sunday 1)
// and ww (week of the year: weeks begin on Sunday, week 1 holds 1 January), without regard to case.
std::string Date2StringEx(platform::LocalClockTime date, const std::string& format);
// The text cut or filled up on the right to exactly width characters; an empty pad becomes " ".
std::string Calibre(const std::string& text, std::string& pad, int32_t width);
std::string CheckRep(const std::string& path);
// Control characters and ü ý þ ÿ become blanks; the length never changes.
std::string ClearChaine(std::string& text);
std::string RemoveAccent(const std::string& text, bool Nettoyer = false, bool GarderArobase = false,
                         bool GarderDeuxPoints = false, bool GarderTiret = false,
                         bool GarderApostrophe = false, bool GarderPlus = false);
// Fills PbTRepFicExt.
void EclateRepFicExt(const std::string& path, const std::string& separator = "\\");
std::string NettoieNomDeDossier(const std::string& path);
void CheckValiditeValeurMin(int32_t& value, int32_t minimum);

// Back to the start of the process: no path split yet.
inline void resetConversions() { PbTRepFicExt = {}; }

}  // namespace Lib_Public

namespace Lib_Email {

// "1 J 1 H 1 Min 1 Sec": days and hours only when there are any.
std::string NbSecondes2String(double seconds);

}  // namespace Lib_Email
