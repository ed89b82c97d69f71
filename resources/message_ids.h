// The string table's messages and URL commands by name. A message id is also the error number a
// class reports (kNoError while it has none); a command id is the entry that holds the
// command's text. Unscoped enums, so that a name goes wherever ResText or SetError takes an id.
#pragma once

namespace vn {

namespace msg {

enum Id : int {
  kNoError = 100,

  // Data access.
  kNoConnection = 101,  // the connection string
  kQueryFailed = 102,   // the statement
  kConnectionMissing = 103,
  kQueryMissing = 104,
  kDataAccessFailed = 105,
  kNoRecordClone = 106,  // the connection string and the statement

  // ACT!.
  kNoActConnection = 121,
  kActNotRunning = 122,
  kNoActDatabase = 123,
  kWrongActView = 124,  // the source command

  // The page.
  kBadUrl = 151,          // the URL
  kTableFailed = 152,     // the renderer's error block
  kUnknownCommand = 153,  // the command
  kInfoFailed = 154,      // the info page's error block
  kMenuFailed = 155,      // the menu's error block
  kUnknownFormat = 156,   // the format number

  // ACT! source commands.
  kActDataFailed = 160,  // the failure's own text
  kMissingBrace = 161,
  kMissingSourceCommand = 162,
  kMissingParameter = 163,
  kFileNotFound = 164,
  kUnknownParameter = 165,
  kMissingIniEntry = 166,     // entry, file, product
  kIniValueNotNumeric = 167,  // entry, file, product
  kNoMandant = 168,
  kNoMandantFile = 169,
  kNoOfficeLineNumber = 170,
  kNoContactField = 171,
  kNoGroupField = 172,
  kUnknownSourceCommand = 173,
  kUnquotedSourceCommand = 174,

  // The configuration database.
  kNoData = 181,         // the table
  kNoAssignments = 182,  // the rubric
  kBadEntryIndex = 183,  // the index
  kNoParser = 184,

  kProgramError = 199,  // where the failure happened
};

}  // namespace msg

namespace command {

// The commands of a varnolis URL, compared without regard to case.
enum Id : int {
  kInfo = 1101,
  kRubrik = 1102,
  kTest = 1103,
};

}  // namespace command

}  // namespace vn
