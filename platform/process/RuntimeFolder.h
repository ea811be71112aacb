// The per-user runtime folder of one install on one C: root: where mutexes and windows meet.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::process {

// Created on first use (mode 0700); empty when no safe folder can be had.
std::filesystem::path runtimeFolder();

// A short, file-name-safe digest of a name.
std::string nameDigest(std::string_view name);

}  // namespace platform::process
