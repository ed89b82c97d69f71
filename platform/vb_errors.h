// The Visual Basic run-time error numbers the library raises itself, with their texts, as a
// caller of the original's components would see them in the error object.
#pragma once

namespace vn {

inline constexpr long kErrInvalidProcedureCall = 5;   // "Invalid procedure call or argument"
inline constexpr long kErrObjectVariableNotSet = 91;  // "Object variable not set"
inline constexpr long kErrBadFileNameOrNumber = 52;   // "Bad file name or number"
inline constexpr long kErrDeviceIo = 57;              // "Device I/O error"
inline constexpr long kErrPathFileAccess = 75;        // "Path/File access error"

inline constexpr const char* kTextInvalidProcedureCall = "Invalid procedure call or argument";
inline constexpr const char* kTextBadFileNameOrNumber = "Bad file name or number";

}  // namespace vn
