#include "config/core/preview.h"

#include <exception>
#include <memory>
#include <utility>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "act/act_snapshot.h"
#include "act/act_standin.h"
#include "config/core/texts.h"
#include "data/call_cancel.h"
#include "data/connection.h"
#include "data/recordset.h"
#include "platform/password_mask.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "render/column_names.h"
#include "render/entry_source.h"
#include "render/format_field_value.h"
#include "render/regional_settings.h"
#include "resources/html_error.h"
#include "resources/message_ids.h"
#include "resources/res_text.h"

namespace vn::config {

namespace {

using Clock = std::chrono::steady_clock;

// A page message as plain text: its line breaks as new lines, its values as they are.
std::string MessageText(int number, const ResValues& values = {}) {
  return ReplaceAll(ResText(number, values), "<br>", "\n");
}

// The reason a provider gave for `failure`, without the passwords of `connection`.
std::string ProviderReason(const std::exception& failure, const std::string& connection) {
  const auto* error = dynamic_cast<const RuntimeError*>(&failure);
  const std::string reason = error != nullptr ? error->Description() : failure.what();
  return MaskPasswordsIn(reason, connection);
}

void Fail(PreviewResult& result, int number, std::string text) {
  result.errorNumber = number;
  result.errorText = std::move(text);
  result.columns.clear();
  result.rows.clear();
  result.notice.clear();
}

PreviewCommand ResolveCommands(const PreviewEntry& entry, ACTAutomation automation);

// The formats that show a table (the others show the first record as a card); the info block
// runs no query.
bool IsTable(int format) { return format == 0 || format == 1; }
constexpr int kInfoFormat = 3;
bool IsKnownFormat(int format) { return format >= 0 && format <= kInfoFormat; }

// The record card: its captions, and its one record (none for an empty result).
void ReadCard(data::Recordset& records, PreviewResult& result) {
  const int n = records.FieldCount();
  std::vector<std::string> values;
  const bool noRecord = records.Bof() && records.Eof();
  for (int i = 0; i < n; ++i) {
    const data::Field& field = records.Fields(i);
    result.columns.push_back(ListCaption(field.Name()));
    if (!noRecord) values.push_back(FormatFieldValue(field));
  }
  if (!noRecord) result.rows.push_back(std::move(values));
}

// The table's top level: one column with the number of child rows for each chapter column (where
// the page puts their fold images, first), then the columns that are not hidden, with the
// page's captions and values. Stops at the first `kPreviewRows` rows, then counts the rest.
void ReadTable(data::Recordset& records, const data::CallCancel& cancel, PreviewResult& result) {
  std::vector<int> chapters;
  std::vector<int> shown;
  const int n = records.FieldCount();
  for (int i = 0; i < n; ++i) {
    const data::Field& field = records.Fields(i);
    if (field.Type() == data::adChapter) {
      chapters.push_back(i);
    } else if (!IsHiddenColumn(field.Name())) {
      shown.push_back(i);
    }
  }
  for (const int i : chapters) result.columns.push_back(GetCaption(records.Fields(i).Name()));
  for (const int i : shown) result.columns.push_back(GetCaption(records.Fields(i).Name()));
  if (records.Bof() && records.Eof()) return;

  const RegionalSettings& settings = CurrentRegionalSettings();
  std::vector<FieldFormat> formats;
  formats.reserve(shown.size());
  for (const int i : shown) formats.emplace_back(records.Fields(i), settings);
  const long known = records.RecordCount();
  long long total = 0;
  for (; !records.Eof(); records.MoveNext()) {
    if (cancel.Cancelled()) return;
    if (total < kPreviewRows) {
      std::vector<std::string> row;
      row.reserve(chapters.size() + shown.size());
      for (const int i : chapters) {
        const data::Variant value = records.Fields(i).Value();
        const bool holds = value.Is<std::shared_ptr<data::Recordset>>() &&
                           value.As<std::shared_ptr<data::Recordset>>();
        row.push_back(std::to_string(
            holds ? value.As<std::shared_ptr<data::Recordset>>()->RecordCount() : 0));
      }
      for (size_t k = 0; k < shown.size(); ++k) {
        std::string text;
        formats[k].Append(records.Fields(shown[k]), text);
        row.push_back(std::move(text));
      }
      result.rows.push_back(std::move(row));
    } else if (known >= 0) {
      total = known;  // the rows are all read already
      break;
    } else if (total >= kPreviewRows + kPreviewCountedRows) {
      result.notice = RowsNotice(kPreviewRows, -1);
      return;
    }
    ++total;
  }
  result.notice = RowsNotice(static_cast<int>(result.rows.size()), total);
}

}  // namespace

std::string PreviewCaption(const std::string& title) { return texts::kPreviewCaption + title; }

std::string RowsNotice(int shown, long long total) {
  if (total < 0) return ResText(texts::kPreviewMoreRows, shown);
  if (total <= shown) return {};
  // Thousands apart by a blank, as the notice is read.
  std::string digits = std::to_string(total);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<size_t>(at), " ");
  }
  return ResText(texts::kPreviewSomeRows, shown, digits);
}

std::string ElapsedText(std::chrono::milliseconds elapsed) {
  return ResText(texts::kPreviewElapsed, std::to_string(elapsed.count()));
}

PreviewCommand ResolvePreview(const PreviewEntry& entry, ACTAutomation automation) {
  try {
    return ResolveCommands(entry, std::move(automation));
  } catch (const std::exception& failure) {
    // ACT!'s automation failed (no object, a member raised): said as a page says a program
    // failure, with the automation's number and reason.
    const auto* error = dynamic_cast<const RuntimeError*>(&failure);
    PreviewCommand command;
    command.title = entry.title;
    command.format = entry.format;
    command.errorNumber = msg::kProgramError;
    command.errorText =
        MessageText(msg::kProgramError, {"clACTDataParser"}) + "\n" +
        (error != nullptr ? std::to_string(error->Number()) + ": " + error->Description()
                          : std::string(failure.what()));
    return command;
  }
}

namespace {

PreviewCommand ResolveCommands(const PreviewEntry& entry, ACTAutomation automation) {
  PreviewCommand command;
  command.title = entry.title;
  command.format = entry.format;
  auto fail = [&](int number, std::string text) {
    command.errorNumber = number;
    command.errorText = std::move(text);
    return command;
  };
  // The user may have changed the decimal sign or the date form since the last preview.
  RefreshUserRegionalSettings();
  clACTApplication act(std::move(automation));
  clACTSnapshot snapshot(act);
  if (!snapshot.ACTgestartet()) return fail(msg::kActNotRunning, MessageText(msg::kActNotRunning));
  if (snapshot.ACTDatenbank().empty()) {
    return fail(msg::kNoActDatabase, MessageText(msg::kNoActDatabase));
  }
  clACTDataParser parser;
  parser.InitPage(&snapshot, "");
  parser.Expect(entry.connection);
  parser.Expect(entry.query);
  clHTMLError error;
  if (!ParseEntryTexts(error, &parser, entry.connection, entry.query, command.connection,
                       command.query)) {
    // The failing command's own message, which the page shows inside its block.
    return parser.Failed() ? fail(parser.ErrNumber(), ReplaceAll(parser.ErrText(), "<br>", "\n"))
                           : fail(error.Number(), MessageText(error.Number()));
  }
  if (!RequireEntryTexts(error, command.connection, command.query)) {
    return fail(error.Number(), MessageText(error.Number()));
  }
  return command;
}

}  // namespace

PreviewResult RunPreview(const PreviewCommand& command, data::CallCancel& cancel) {
  const auto start = Clock::now();
  PreviewResult result;
  result.caption = PreviewCaption(command.title);
  result.connectionShown = MaskPasswords(command.connection);
  result.query = command.query;
  auto done = [&]() -> PreviewResult {
    result.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    if (cancel.Cancelled()) {
      Fail(result, 0, texts::kPreviewCancelled);
      result.cancelled = true;
    }
    return result;
  };
  if (command.errorNumber != 0) {
    Fail(result, command.errorNumber, command.errorText);
    return done();
  }
  if (!IsKnownFormat(command.format)) {
    Fail(result, msg::kUnknownFormat,
         MessageText(msg::kUnknownFormat, {std::to_string(command.format)}));
    return done();
  }
  if (command.format == kInfoFormat) {
    result.notice = texts::kPreviewNoQuery;
    return done();
  }

  data::CallCancel::Scope scope(cancel);
  const std::string connection =
      IsTable(command.format) ? ShapedConnection(command.connection) : command.connection;
  data::Connection db;
  try {
    db.SetConnectionString(connection);
    // As on a page: whatever the query says, it cannot change the data.
    db.SetMode(data::adModeRead);
    db.Open({}, {}, {}, -1);
  } catch (const std::exception& failure) {
    std::string text = MessageText(msg::kNoConnection, {MaskPasswords(connection)});
    const std::string reason = DriverReason(failure, connection);
    if (!reason.empty()) text += "\n" + reason;
    Fail(result, msg::kNoConnection, std::move(text));
    return done();
  }
  try {
    data::Recordset records;
    records.Open(command.query, db, data::adOpenForwardOnly, data::adLockUnspecified, -1);
    try {
      if (IsTable(command.format)) {
        ReadTable(records, cancel, result);
      } else {
        ReadCard(records, result);
      }
    } catch (const std::exception& failure) {
      Fail(result, msg::kDataAccessFailed,
           MessageText(msg::kDataAccessFailed) + "\n" + ProviderReason(failure, connection));
    }
  } catch (const std::exception& failure) {
    Fail(result, msg::kQueryFailed,
         MessageText(msg::kQueryFailed, {command.query}) + "\n" +
             ProviderReason(failure, connection));
  }
  return done();
}

}  // namespace vn::config
