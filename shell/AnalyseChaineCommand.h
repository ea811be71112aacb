// The main program's command line: the switches read during start-up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace shell {

// The digits (for "/IP=" digits and dots) that lead the value after the switch's first
// occurrence, searched without regard to case; empty when the switch is absent.
std::optional<std::string> parameterValue(const std::string& lineText, const std::string& parameter,
                                          bool withDots = false);
// The number of a digit run, saturated at the type's largest value; 0 for no digit.
int32_t parameterNumber(const std::string& digitText);

// Sets PbINoInstance and PbIDefaultNoBase, pauses for "/Wait=", logs each switch.
// "/NoBase=" takes only a base the site has (0 to basesDuSite - 1).
void AnalyseChaineCommand(const std::string& lineText, int16_t basesDuSite);
// The site's bases ("Site"/"NbBase" of AL3_Config.ini), 1 to 5.
int16_t siteBaseCount();

}  // namespace shell
