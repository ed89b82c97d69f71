// Field: one column of the current row of a recordset, with its name, its ADO DataTypeEnum
// code and its value.
#pragma once

#include <string>

#include "data/data_type.h"
#include "data/variant.h"

namespace vn::data {

class Field {
 public:
  virtual ~Field() = default;
  virtual std::string Name() const = 0;
  virtual int Type() const = 0;
  // Throws RuntimeError 3021 when there is no current row.
  virtual Variant Value() const = 0;
  // The value where the row holds it, valid until the recordset moves: for reading many values
  // without copying their texts. Null when the value is made on request (Value() then makes
  // it, or reports why there is none).
  virtual const Variant* ValueInPlace() const { return nullptr; }
};

// A field that holds its own name, type and value; for callers that build values themselves.
class SimpleField : public Field {
 public:
  SimpleField(std::string name, int type, Variant value)
      : name_(std::move(name)), type_(type), value_(std::move(value)) {}
  std::string Name() const override { return name_; }
  int Type() const override { return type_; }
  Variant Value() const override { return value_; }
  const Variant* ValueInPlace() const override { return &value_; }

 private:
  std::string name_;
  int type_;
  Variant value_;
};

}  // namespace vn::data
