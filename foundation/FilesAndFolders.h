// File and folder services: existence, size, copy, delete, free space, attributes, folder tests
// and creation, the folder picker and the mapping of a UNC path onto a local share.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace Lib_Systeme {

// Shell result codes the log texts and the restart on out of memory depend on.
enum ShellResult : int32_t {
    ShellOk = 0,
    ShellFileNotFound = 2,
    ShellAccessDenied = 5,
    ShellOutOfMemory = 14,
    ShellWriteProtected = 19,
    ShellGeneralFailure = 31,
    ShellFileInUse = 32,
    ShellFolderNotFound = 53,
    ShellTooManyNames = 68,
    ShellDiskFull = 112,
    ShellSameFile = 113,
    ShellNameTooLong = 206,
    ShellNotAFile = 267,
    ShellSourceMissing = 1026,
    ShellCancelled = 1223,
};
// The shell result for a host error number.
int32_t ShellResultOfErrno(int error);

// True when the file exists and, when asked, is not empty. Names are taken literally. A pipe,
// socket or device under the name is no file: false, with a warning line, and never opened.
bool File_Exist(const std::string& fileName, const std::string& caller = {}, bool mustNotBeEmpty = false);
// Size in bytes; -1 when the file cannot be opened, or is a pipe, socket or device (logged).
int64_t TailleDuFichier(const std::string& fileName);
// Copies through a temporary file renamed into place, creating the target's folders; silent.
bool File_Copy(const std::string& source, const std::string& target);
// Removes from the folders the temporary files of the whole-file writes and copies that an
// earlier run, ended halfway, left there; one log line when there were any.
void RemoveLeftoverTemporaries(const std::vector<std::string>& folders, const std::string& caller);
// Deletes one regular file; anything else is refused and logged.
bool File_Delete(const std::string& fileName, const std::string& caller);
// Free bytes of the drive holding the root (such as D:\); 0 when unknown.
double GetDiskFreeBytes(const std::string& root);
// "1.50 Ko" ("1,50 Ko" in fr_FR): the count in 1024-based French units.
std::string LibSize(double bytes);
// VB's Format with "###,###,##0.00": two decimals, thousands grouped, with the separators of the
// user's locale ("1,234.50" in C, "1 234,50" in fr_FR, "1.234,50" in de_DE).
std::string FormatGrouped2(double value);
// Clears the given attribute bits (1 read-only, 2 hidden, 4 system, 32 archive, ...).
void File_RemoveFlag(const std::string& fileName, int32_t flags);
// Attribute bits of a file or folder as Windows reports them; -1 when it does not exist.
int32_t FileAttributes(const std::string& fileName);

// True when the folder exists, creating it when missing.
bool FolderFound(const std::string& folder);
// Creates every missing level of the folder; logs a level that cannot be made when warn is set.
void VerificationEtCreationRepertoire(const std::string& folder, bool warn);
// The folder picker through the dialog seam: the chosen folder with a trailing backslash, or "*".
std::string FolderSelect(const std::string& startPath, const std::string& title = {});
// The local path of a UNC path on one of this machine's disk shares, or the UNC path unchanged.
std::string ChangeUNCFolder2LocalFolder(const std::string& uncPath, const std::string& computerName);

namespace seams {
// The next copy or delete fails with this host error, as if the system had refused it: tests
// cannot make a real one run out of memory.
void failNextFileOperation(int error);
// The next size query's open takes this long on the manual clock: tests cannot make a disk slow.
void slowNextSizeQuery(std::chrono::milliseconds slowness);
}  // namespace seams

// Back to the start of the process: the folder caches empty, no failure or slowness waiting.
void resetFilesAndFolders();

}  // namespace Lib_Systeme
