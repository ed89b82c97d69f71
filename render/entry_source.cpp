#include "render/entry_source.h"

#include <exception>

#include "act/act_data_parser.h"
#include "platform/text.h"

namespace vn {

bool ParseEntryTexts(clHTMLError& error, clACTDataParser* parser, const std::string& strConnection,
                     const std::string& strSQL, std::string& connection, std::string& query) {
  if (parser == nullptr) {
    error.SetError(184);
    return false;
  }
  connection = parser->Parse(TrimSpaces(strConnection));
  if (parser->ErrNumber() != 100) {
    error.SetError(160, {parser->ErrDescription()});
    return false;
  }
  query = parser->Parse(TrimSpaces(strSQL));
  if (parser->ErrNumber() != 100) {
    error.SetError(160, {parser->ErrDescription()});
    return false;
  }
  return true;
}

bool RequireEntryTexts(clHTMLError& error, const std::string& connection,
                       const std::string& query) {
  if (connection.empty()) {
    error.SetError(103);
    return false;
  }
  if (query.empty()) {
    error.SetError(104);
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
  } catch (const std::exception&) {
    error.SetError(101, {connection});
    return nullptr;
  }
}

}  // namespace vn
