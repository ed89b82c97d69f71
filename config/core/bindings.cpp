#include "config/core/bindings.h"

namespace vn::config {

namespace {

constexpr Binding kBindings[] = {
    {1, "txbRubrikenRubrik", "Rubrik", BindKind::kText, "", "lbRubrikenRubrik", "R&ubrik"},
    {1, "txbRubrikenRang", "Rang", BindKind::kNumber, "", "lbRubrikenRang", "&Rang"},
    {1, "txbRubrikenTitel", "Titel", BindKind::kText, "", "lbRubrikenTitel", "&Titel"},
    {1, "txbRubrikenMenueText", "Menuetext", BindKind::kText, "", "lbRubrikenMenueText",
     "&Menütext"},
    {1, "txbRubrikenBemerkung", "Bemerkung", BindKind::kText, "", "lbRubrikenBemerkung",
     "B&emerkung"},
    {2, "txbDatenTitel", "Titel", BindKind::kText, "", "lbDatenTitel", "&Titel"},
    {2, "cbxDatenFormat", "Format_ID", BindKind::kList, "rsluDatenFormate", "lbDatenFormat",
     "&Format"},
    {2, "txbDatenBemerkung", "Bemerkung", BindKind::kText, "", "lbDatenBemerkung", "&Bemerkung"},
    {2, "txbDatenVerbindung", "Datenquelle", BindKind::kText, "", "lbDatenVerbindung",
     "&Verbindung"},
    {2, "txbDatenAbfrage", "Abfrage", BindKind::kText, "", "lbDatenAbfrage", "&Abfrage"},
    {3, "cbxZuordnungenRubrik", "Rubrik_ID", BindKind::kList, "rsluRubriken", "lbZuordnungenRubrik",
     "R&ubrik"},
    {3, "cbxZuordnungenDaten", "Daten_ID", BindKind::kList, "rsluDaten", "lbZuordnungenDaten",
     "D&aten"},
    {3, "txbZuordnungenRang", "Rang", BindKind::kNumber, "", "lbZuordnungenRang", "Ra&ng"},
};

}  // namespace

std::span<const Binding> BindingTable() { return kBindings; }

const Binding* BindingOf(const std::string& control) {
  for (const Binding& binding : kBindings)
    if (control == binding.control) return &binding;
  return nullptr;
}

}  // namespace vn::config
