#include "render/entry_source.h"

#include <exception>

#include "act/act_data_parser.h"
#include "data/connection_string.h"
#include "data/errors.h"
#include "platform/password_mask.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "resources/markup.h"
#include "resources/message_ids.h"
#include "resources/res_text.h"

namespace vn {
namespace {

// Whether `connection` opens a Jet (or its successor ACE) database. A connection string that
// does not parse is not Jet; opening it fails later with its own message.
bool IsJetProvider(const std::string& connection) {
  try {
    const std::string provider = LowerAscii(data::ConnectionString(connection).Get("Provider"));
    return provider.starts_with("microsoft.jet.oledb") ||
           provider.starts_with("microsoft.ace.oledb");
  } catch (const RuntimeError&) {
    return false;
  }
}

// What the page says after the connection string of a failed connection: the driver's reason
// on a line of its own, as page text.
std::string ReasonLine(const std::exception& failure, const std::string& connection) {
  const std::string reason = DriverReason(failure, connection);
  return reason.empty() ? reason : ResText(res::kBreak) + markup::EscapeHtml(reason);
}

}  // namespace

bool ParseEntryTexts(clHTMLError& error, clACTDataParser* parser, const std::string& strConnection,
                     const std::string& strSQL, std::string& connection, std::string& query) {
  if (parser == nullptr) {
    error.SetError(msg::kNoParser);
    return false;
  }
  connection = parser->Parse(TrimSpaces(strConnection), ParsedText::kAsRead);
  if (parser->Failed()) {
    error.SetError(msg::kActDataFailed, {parser->ErrDescription()});
    return false;
  }
  // Jet's dialect takes "..." as text, so commands there stand inside a literal too.
  query = parser->Parse(TrimSpaces(strSQL),
                        IsJetProvider(connection) ? ParsedText::kJetSql : ParsedText::kSql);
  if (parser->Failed()) {
    error.SetError(msg::kActDataFailed, {parser->ErrDescription()});
    return false;
  }
  return true;
}

bool RequireEntryTexts(clHTMLError& error, const std::string& connection,
                       const std::string& query) {
  if (connection.empty()) {
    error.SetError(msg::kConnectionMissing);
    return false;
  }
  if (query.empty()) {
    error.SetError(msg::kQueryMissing);
    return false;
  }
  return true;
}

std::unique_ptr<data::Connection> OpenEntryConnection(clHTMLError& error,
                                                      const std::string& connection) {
  try {
    auto db = std::make_unique<data::Connection>();
    db->SetConnectionString(connection);
    // A page only reads: whatever its query says, it cannot change the data.
    db->SetMode(data::adModeRead);
    db->Open({}, {}, {}, -1);
    return db;
  } catch (const std::exception& failure) {
    RecordConnectionFailure(error, connection, failure);
    return nullptr;
  }
}

std::string DriverReason(const std::exception& failure, const std::string& connection) {
  const auto* error = dynamic_cast<const RuntimeError*>(&failure);
  if (error == nullptr || !data::IsDriverFailure(*error) || error->Description().empty()) {
    return {};
  }
  return MaskPasswordsIn(error->Description(), connection);
}

std::string ShapedConnection(const std::string& connection) {
  return "Provider=MSDataShape;Data " + connection;
}

std::string ConnectionShown(const std::string& connection) {
  return markup::EscapeHtml(MaskPasswords(connection));
}

void RecordConnectionFailure(clHTMLError& error, const std::string& connection,
                             const std::exception& failure) {
  error.SetError(msg::kNoConnection,
                 {ConnectionShown(connection) + ReasonLine(failure, connection)});
}

}  // namespace vn
