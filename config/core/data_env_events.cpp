#include "config/data_env_events.h"

#include <cmath>
#include <cstdio>

#include "config/frm_konfiguration.h"
#include "config/record_status.h"

namespace vn::config {

QString VariantText(const vn::data::Variant& value) {
  if (value.IsEmpty() || value.IsNull()) return {};
  if (value.Is<std::string>()) return QString::fromStdString(value.As<std::string>());
  if (value.Is<std::int64_t>()) return QString::number(value.As<std::int64_t>());
  if (value.Is<bool>()) return value.As<bool>() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
  if (value.Is<double>()) {
    const double d = value.As<double>();
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
      return QString::number(static_cast<long long>(d));
    return QString::number(d, 'g', 15);
  }
  return QString::fromStdString(value.DebugText());
}

void DataEnvEvents::LogChangedFields(const QString& name, const std::vector<ChangedField>& fields) {
  window_.WriteDebugLine(QStringLiteral("Fields Changed ") + name);
  int n = 1;
  for (const ChangedField& field : fields) {
    window_.WriteDebugLine(QString::number(n++) + QStringLiteral(". ") +
                           QString::fromStdString(field.name) + QStringLiteral("=") +
                           VariantText(field.value));
  }
}

void DataEnvEvents::FieldChangeComplete(EditRecords& records,
                                        const std::vector<ChangedField>& fields) {
  LogChangedFields(QString::fromStdString(records.Name()), fields);
}

void DataEnvEvents::MoveComplete(EditRecords& records, int reason) {
  window_.WriteDebugLine(QString::fromStdString(records.Name()) +
                         QStringLiteral(" Record Moved - Reason: ") + GetADOEventReason(reason));
  window_.SetEditMode(3);
}

void DataEnvEvents::RecordChangeComplete(EditRecords& records, int reason, long /*recordCount*/,
                                         const vn::RuntimeError* error) {
  const QString name = QString::fromStdString(records.Name());
  window_.WriteDebugLine(name + QStringLiteral(" Record Changed - Reason: ") +
                         GetADOEventReason(reason));
  // Only a write that left nothing pending is a save: the same notification also reports the
  // edit buffer taken into the pending changes, and a write the database refused.
  if (reason == adRsnUpdate) {
    window_.UpdateRecordsetStatus();
    if (error == nullptr && !records.IsChanged()) window_.SetEditMode(2);
  }
  if (name == QStringLiteral("rstabDaten") && reason == adRsnDelete)
    window_.UpdateRecordsetStatus();
}

void DataEnvEvents::RecordsetChangeComplete(EditRecords& records, int reason) {
  window_.WriteDebugLine(QString::fromStdString(records.Name()) +
                         QStringLiteral(" RecordSet Changed - Reason: ") +
                         GetADOEventReason(reason));
}

}  // namespace vn::config
