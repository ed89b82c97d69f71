// The first steps both renderers take for a data entry: its connection string and query,
// trimmed and run through the ACT! source parser, and the connection opened on them. Each
// failure is recorded in the renderer's error block with the message the renderers share.
#pragma once

#include <exception>
#include <memory>
#include <string>

#include "data/connection.h"
#include "resources/html_error.h"

namespace vn {

class clACTDataParser;

// Parses both texts (184 without a parser, 160 with the parser's block) into `connection` and
// `query`; false after recording the error. The presence checks come later (RequireEntryTexts),
// as the renderers keep their title and paths in between.
bool ParseEntryTexts(clHTMLError& error, clACTDataParser* parser, const std::string& strConnection,
                     const std::string& strSQL, std::string& connection, std::string& query);

// 103 for an empty connection string, then 104 for an empty query.
bool RequireEntryTexts(clHTMLError& error, const std::string& connection, const std::string& query);

// Opens a read-only connection on `connection`; null after recording 101
// (RecordConnectionFailure).
std::unique_ptr<data::Connection> OpenEntryConnection(clHTMLError& error,
                                                      const std::string& connection);

// A connection string as a message shows it: its passwords hidden, as page text (ACT! values
// may stand in it).
std::string ConnectionShown(const std::string& connection);

// The reason a driver or library outside this program gave for `failure` (its own diagnostic,
// or what to install where it is missing), as plain text without the passwords of
// `connection`; "" for failures of the program's own providers, whose message says enough.
std::string DriverReason(const std::exception& failure, const std::string& connection);

// The table's connection: the shaping service in front of the entry's provider, so that a plain
// SELECT and a SHAPE command are opened alike.
std::string ShapedConnection(const std::string& connection);

// Records 101 for `connection`, which `failure` kept from opening: the connection string with
// its password hidden and, where a driver or library gave the reason (its diagnostic, or what to
// install), that reason on a line of its own, its passwords hidden as well.
void RecordConnectionFailure(clHTMLError& error, const std::string& connection,
                             const std::exception& failure);

}  // namespace vn
