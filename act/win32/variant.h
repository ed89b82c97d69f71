// Automation values as COM carries them: the conversions between AutoValue and VARIANT that both
// sides of a dispatch call use (text as UTF-16 BSTR, objects as IDispatch, "nothing" as a null
// IDispatch). The VARIANT owner is platform/win32/variant.h.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <functional>

#include "act/automation.h"
#include "platform/com_ptr.h"
#include "platform/win32/variant.h"

namespace vn::win32 {

// How the objects of one side cross: an AutoObject handed to COM as an IDispatch (a new
// reference), and an IDispatch received from COM as an AutoObject.
using DispatchOf = std::function<ComPtr<IDispatch>(const AutoObject&)>;
using ObjectOf = std::function<AutoObject(IDispatch*)>;

// The VARIANT for `value` (the by-reference mark is not looked at here).
Variant ToVariant(const AutoValue& value, const DispatchOf& dispatchOf);

// The value of `v`, by-reference variants dereferenced. Types beyond AutoValue's are converted:
// other integers to a 32-bit integer, other numbers to a double, dates and the rest to text;
// what cannot be converted is a type-mismatch automation error.
AutoValue FromVariant(const VARIANT& v, const ObjectOf& objectOf);

// Stores `value` where the by-reference VARIANT `target` points, in the type it points to.
void StoreByRef(const VARIANT& target, const AutoValue& value, const DispatchOf& dispatchOf);

}  // namespace vn::win32
