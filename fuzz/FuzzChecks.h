// One fuzz input's checks, shared by the libFuzzer targets and the corpus replay test.
#pragma once

#include <string_view>

namespace fuzzchecks {

// Input: a section name line, a key name line, then the file's bytes. Reading never crashes,
// and after a write of a valid key the read gives the written value back.
bool iniReader(std::string_view input);
// Input: the tag, a line break, then the message. Never crashes; a value found lies in the
// message.
bool extractTag(std::string_view input);
// Input: a file's bytes. The workbook reader never crashes and refuses with a reason; a
// workbook it reads holds only what a sheet holds, and written again (as the grid's export
// does) reads back as the same texts and colours.
bool workbookReader(std::string_view input);
// Input: a hive file's text. Reading never crashes, and what is written back reads back as
// itself.
bool hiveReader(std::string_view input);

}  // namespace fuzzchecks
