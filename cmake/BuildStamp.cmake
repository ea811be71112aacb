# Writes the build moment ("YYYYMMDDhhmm", local time) into OUTPUT; the build runs it when a
# source of the program changed.
string(TIMESTAMP stamp "%Y%m%d%H%M")
file(WRITE "${OUTPUT}" "#define AL3_BUILD_STAMP \"${stamp}\"\n")
