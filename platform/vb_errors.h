// The Visual Basic run-time error numbers the library raises itself, with their texts, as a
// caller of the original's components would see them in the error object.
#pragma once

namespace vn {

inline constexpr long kErrInvalidProcedureCall = 5;   // "Invalid procedure call or argument"
inline constexpr long kErrObjectVariableNotSet = 91;  // "Object variable not set"

inline constexpr const char* kTextInvalidProcedureCall = "Invalid procedure call or argument";

}  // namespace vn
