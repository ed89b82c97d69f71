// The run-time error numbers the library raises itself, in the numbering of the automation run
// time that scripts and the components' callers test for, each with the text that goes with it.
#pragma once

namespace vn {

inline constexpr long kErrInvalidProcedureCall = 5;   // "Invalid procedure call or argument"
inline constexpr long kErrOverflow = 6;               // "Overflow"
inline constexpr long kErrTypeMismatch = 13;          // "Type mismatch"
inline constexpr long kErrBadFileNameOrNumber = 52;   // "Bad file name or number"
inline constexpr long kErrDeviceIo = 57;              // "Device I/O error"
inline constexpr long kErrPathFileAccess = 75;        // "Path/File access error"
inline constexpr long kErrObjectVariableNotSet = 91;  // "Object variable not set"
inline constexpr long kErrInvalidUseOfNull = 94;      // "Invalid use of Null"

inline constexpr const char* kTextInvalidProcedureCall = "Invalid procedure call or argument";
inline constexpr const char* kTextOverflow = "Overflow";
inline constexpr const char* kTextTypeMismatch = "Type mismatch";
inline constexpr const char* kTextBadFileNameOrNumber = "Bad file name or number";
inline constexpr const char* kTextInvalidUseOfNull = "Invalid use of Null";

}  // namespace vn
