#include "config/core/data_env_events.h"

#include <cmath>
#include <cstdio>

#include "config/core/konfiguration_window.h"
#include "config/core/texts.h"

namespace vn::config {

std::string VariantText(const vn::data::Variant& value) {
  if (value.IsEmpty() || value.IsNull()) return {};
  if (value.Is<std::string>()) return value.As<std::string>();
  if (value.Is<std::int64_t>()) return std::to_string(value.As<std::int64_t>());
  if (value.Is<bool>()) return value.As<bool>() ? "Wahr" : "Falsch";
  if (value.Is<double>()) {
    const double d = value.As<double>();
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
      return std::to_string(static_cast<long long>(d));
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", d);
    return text;
  }
  return value.DebugText();
}

void DataEnvEvents::LogChangedFields(const std::string& name,
                                     const std::vector<ChangedField>& fields) {
  window_.WriteDebugLine(texts::FieldsChangedLine(name));
  int n = 1;
  for (const ChangedField& field : fields)
    window_.WriteDebugLine(std::to_string(n++) + ". " + field.name + "=" +
                           VariantText(field.value));
}

void DataEnvEvents::FieldChangeComplete(EditRecords& records,
                                        const std::vector<ChangedField>& fields) {
  LogChangedFields(records.Name(), fields);
}

void DataEnvEvents::MoveComplete(EditRecords& records, int reason) {
  window_.WriteDebugLine(texts::RecordMovedLine(records.Name(), reason));
  window_.SetEditMode(EditMode::kMoved);
}

void DataEnvEvents::RecordChangeComplete(EditRecords& records, int reason, long /*recordCount*/,
                                         const vn::RuntimeError* error) {
  const std::string name = records.Name();
  window_.WriteDebugLine(texts::RecordChangedLine(name, reason));
  // Only a write that left nothing pending is a save: the same notification also reports the
  // edit buffer taken into the pending changes, and a write the database refused.
  if (reason == adRsnUpdate) {
    window_.UpdateRecordsetStatus();
    if (error == nullptr && !records.IsChanged()) window_.SetEditMode(EditMode::kSaved);
  }
  if (name == "rstabDaten" && reason == adRsnDelete) window_.UpdateRecordsetStatus();
}

void DataEnvEvents::RecordsetChangeComplete(EditRecords& records, int reason) {
  window_.WriteDebugLine(texts::RecordsetChangedLine(records.Name(), reason));
}

}  // namespace vn::config
