// The VB run-time and COM error numbers this system raises and reports, each named once.
#pragma once

#include <cstdint>

namespace platform::vb {

inline constexpr int32_t kInvalidProcedureCall = 5;  // "Invalid procedure call or argument"
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kErrorLoadingDll = 48;
inline constexpr int32_t kInternalError = 51;  // a failure of no other kind
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kPathFileAccessError = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kObjectNotSet = 91;  // "Object variable or With block variable not set"
// The other application will not perform the DDE request.
inline constexpr int32_t kDdeRefused = 285;
inline constexpr int32_t kDdeTimeout = 286;
inline constexpr int32_t kControlArrayElementMissing = 340;
inline constexpr int32_t kInvalidPropertyValue = 380;
inline constexpr int32_t kSetNotSupported = 383;
inline constexpr int32_t kGetNotSupported = 394;
// E_UNEXPECTED: what the HTTP and mail controls raise when the connection is lost or absent.
inline constexpr int32_t kUnexpectedFailure = int32_t(0x8000FFFFu);
// E_INVALIDARG: what the HTTP control raises for an address it cannot use.
inline constexpr int32_t kInvalidArgument = int32_t(0x80070057u);
// vbObjectError: the base of the numbers a component raises for its own errors.
inline constexpr int32_t kObjectError = int32_t(0x80040000u);

}  // namespace platform::vb
