// The per-user runtime folder of one install on one C: root: where mutexes and windows meet.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::process {

// Created on first use (mode 0700); empty when no safe folder can be had.
std::filesystem::path runtimeFolder();

// Outside a desktop session (a root shell, a service) XDG_RUNTIME_DIR is not set: names the
// private folder the runtime folder then falls back to, so that Qt, started after this, uses it
// too instead of warning about its own.
void settleRuntimeDirectory();

// A short, file-name-safe digest of a name.
std::string nameDigest(std::string_view name);

}  // namespace platform::process
