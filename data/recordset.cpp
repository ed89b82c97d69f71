#include "data/recordset.h"

#include "data/connection.h"
#include "data/cursor.h"
#include "data/edit_cursor.h"
#include "data/errors.h"
#include "data/provider.h"
#include "data/recordset_impl.h"
#include "platform/text.h"

namespace vn::data {

Recordset::Impl::Impl(std::unique_ptr<Cursor> c) : cursor(std::move(c)) {
  const auto& columns = cursor->Columns();
  fields.reserve(columns.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    fields.push_back(std::make_unique<CursorField>(*cursor, i));
  }
}

std::shared_ptr<Recordset> MakeRecordset(std::unique_ptr<Cursor> cursor) {
  return std::make_shared<Recordset>(std::make_unique<Recordset::Impl>(std::move(cursor)));
}

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

namespace {

[[noreturn]] void ThrowClosed(const char* where) {
  throw RuntimeError(kErrObjectClosed, "Operation is not allowed when the object is closed.",
                     where);
}

}  // namespace

Recordset::Impl& Recordset::Internals() {
  if (!impl_) ThrowClosed("Recordset");
  return *impl_;
}

const Recordset::Impl& Recordset::Internals() const {
  if (!impl_) ThrowClosed("Recordset");
  return *impl_;
}

void Recordset::Open(const std::string& source, Connection& activeConnection, int cursorType,
                     int lockType, long /*options*/) {
  if (impl_) {
    throw RuntimeError(kErrIllegalOperation, "Operation is not allowed when the object is open.",
                       "Recordset.Open");
  }
  if (cursorType == adOpenStatic || lockType == adLockBatchOptimistic) {
    impl_ = std::make_unique<Impl>(OpenClientCursor(source, activeConnection.ProviderSession(),
                                                    lockType == adLockBatchOptimistic));
    if (auto* client = dynamic_cast<ClientCursor*>(impl_->cursor.get())) {
      client->SetOwner(this, nullptr);
    }
    return;
  }
  impl_ = std::make_unique<Impl>(activeConnection.ProviderSession().Open(source));
}

void Recordset::Close() {
  if (!impl_) ThrowClosed("Recordset.Close");
  std::unique_ptr<Impl> closing = std::move(impl_);
  if (auto* client = dynamic_cast<ClientCursor*>(closing->cursor.get())) client->Close();
}

bool Recordset::IsOpen() const { return impl_ != nullptr; }

bool Recordset::Bof() const { return Internals().Rows().Bof(); }
bool Recordset::Eof() const { return Internals().Rows().Eof(); }
void Recordset::MoveNext() { Internals().Rows().MoveNext(); }

std::shared_ptr<Recordset> Recordset::Clone(int /*lockType*/) const {
  return MakeRecordset(Internals().Rows().Clone());
}

long Recordset::RecordCount() const { return Internals().Rows().RecordCount(); }

int Recordset::FieldCount() const { return static_cast<int>(Internals().fields.size()); }

const Field& Recordset::Fields(int index) const {
  const auto& fields = Internals().fields;
  if (index < 0 || static_cast<size_t>(index) >= fields.size()) {
    throw RuntimeError(kErrItemNotFound,
                       "Item cannot be found in the collection corresponding to the requested "
                       "name or ordinal (" +
                           std::to_string(index) + ").",
                       "Fields");
  }
  return *fields[static_cast<size_t>(index)];
}

const Field& Recordset::Fields(const std::string& name) const {
  const auto& impl = Internals();
  const auto& columns = impl.Rows().Columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (EqualsIgnoringCase(columns[i].name, name)) return *impl.fields[i];
  }
  throw RuntimeError(kErrItemNotFound,
                     "Item cannot be found in the collection corresponding to the requested name "
                     "or ordinal ('" +
                         name + "').",
                     "Fields");
}

}  // namespace vn::data
