// The Recordset's client-cursor operations: navigation, search, filter and edits, handed to the
// ClientCursor behind it.
#include "data/edit_cursor.h"
#include "data/errors.h"
#include "data/provider.h"
#include "data/recordset.h"
#include "data/recordset_impl.h"
#include "platform/text.h"

namespace vn::data {

namespace {

[[noreturn]] void ThrowNotClient(const char* where) {
  throw RuntimeError(kErrFeatureNotAvailable,
                     "Current provider does not support the necessary interface for this "
                     "operation (open the recordset with a static cursor).",
                     where);
}

ClientCursor& Client(Recordset& recordset, const char* where) {
  auto* client = dynamic_cast<ClientCursor*>(&recordset.Internals().Rows());
  if (client == nullptr) ThrowNotClient(where);
  return *client;
}

const ClientCursor& Client(const Recordset& recordset, const char* where) {
  const auto* client = dynamic_cast<const ClientCursor*>(&recordset.Internals().Rows());
  if (client == nullptr) ThrowNotClient(where);
  return *client;
}

}  // namespace

std::unique_ptr<Cursor> OpenClientCursor(const std::string& source, Provider& provider,
                                         bool updatable) {
  // A plain command runs again through its own runner, which keeps its session alive; a shaped
  // one is built by the shaping service each time.
  std::shared_ptr<CommandRunner> runner;
  try {
    runner = provider.Command(source);
  } catch (const RuntimeError& error) {
    if (error.Number() != kErrFeatureNotAvailable) throw;
  }
  ClientCursor::Loader loader;
  if (runner) {
    loader = [runner] { return MakeStreamingCursor(runner->Run(), runner); };
  } else {
    Provider* session = &provider;
    loader = [session, source] { return session->Open(source); };
  }
  std::optional<UpdateTarget> target;
  if (updatable) target = provider.UpdateTargetOf(source);
  return std::make_unique<ClientCursor>(std::move(loader), std::move(target));
}

void Recordset::MoveFirst() {
  auto* client = dynamic_cast<ClientCursor*>(&Internals().Rows());
  if (client != nullptr) return client->MoveFirst();
  if (!Internals().Rows().Rewind()) ThrowNotClient("Recordset.MoveFirst");
}

void Recordset::MovePrevious() { Client(*this, "Recordset.MovePrevious").MovePrevious(); }
void Recordset::MoveLast() { Client(*this, "Recordset.MoveLast").MoveLast(); }
long Recordset::AbsolutePosition() const {
  return Client(*this, "Recordset.AbsolutePosition").AbsolutePosition();
}
long Recordset::Bookmark() const { return Client(*this, "Recordset.Bookmark").Bookmark(); }
void Recordset::SetBookmark(long bookmark) {
  Client(*this, "Recordset.Bookmark").SetBookmark(bookmark);
}
long Recordset::Status() const { return Client(*this, "Recordset.Status").Status(); }
int Recordset::EditMode() const { return Client(*this, "Recordset.EditMode").EditMode(); }
bool Recordset::Updatable() const {
  const auto* client = dynamic_cast<const ClientCursor*>(&Internals().Rows());
  return client != nullptr && client->Updatable();
}

void Recordset::Find(const std::string& criteria, long skipRows, int direction) {
  Client(*this, "Recordset.Find").Find(criteria, skipRows, direction);
}
void Recordset::SetFilter(const std::string& criteria) {
  Client(*this, "Recordset.Filter").SetFilter(criteria);
}
std::string Recordset::Filter() const { return Client(*this, "Recordset.Filter").Filter(); }

void Recordset::SetValue(const std::string& column, const Variant& value) {
  ClientCursor& client = Client(*this, "Field.Value");
  const auto& columns = client.Columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (EqualsIgnoringCase(columns[i].name, column)) return client.SetValue(i, value);
  }
  throw RuntimeError(kErrItemNotFound,
                     "Item cannot be found in the collection corresponding to the requested name "
                     "or ordinal ('" +
                         column + "').",
                     "Fields");
}

void Recordset::AddNew() { Client(*this, "Recordset.AddNew").AddNew(); }
void Recordset::Update() { Client(*this, "Recordset.Update").Update(); }
void Recordset::UpdateBatch() { Client(*this, "Recordset.UpdateBatch").UpdateBatch(); }
void Recordset::CancelUpdate() { Client(*this, "Recordset.CancelUpdate").CancelUpdate(); }
void Recordset::CancelBatch() { Client(*this, "Recordset.CancelBatch").CancelBatch(); }
void Recordset::Delete() { Client(*this, "Recordset.Delete").Delete(); }
void Recordset::Requery() { Client(*this, "Recordset.Requery").Requery(); }
bool Recordset::HasPendingChanges() const {
  const auto* client = dynamic_cast<const ClientCursor*>(&Internals().Rows());
  return client != nullptr && client->HasPendingChanges();
}
void Recordset::SetEvents(RecordsetEvents* events) {
  Client(*this, "Recordset.SetEvents").SetEvents(events);
}

}  // namespace vn::data
