# Writes the build moment ("YYYYMMDDhhmm", local time) into OUTPUT, touching the file only when
# the minute changed, so that a build within the same minute recompiles nothing.
string(TIMESTAMP stamp "%Y%m%d%H%M")
set(content "#define AL3_BUILD_STAMP \"${stamp}\"\n")
set(previous "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
endif()
if(NOT previous STREQUAL content)
  file(WRITE "${OUTPUT}" "${content}")
endif()
