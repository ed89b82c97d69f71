#include "config/core/bindings.h"

#include "platform/config_names.h"

namespace vn::config {

namespace {

using namespace vn::configdb;

constexpr Binding kBindings[] = {
    {1, "txbRubrikenRubrik", kRubrik, BindKind::kText, "", "lbRubrikenRubrik", "R&ubrik"},
    {1, "txbRubrikenRang", kRang, BindKind::kNumber, "", "lbRubrikenRang", "&Rang"},
    {1, "txbRubrikenTitel", kTitel, BindKind::kText, "", "lbRubrikenTitel", "&Titel"},
    {1, "txbRubrikenMenueText", kMenuetext, BindKind::kText, "", "lbRubrikenMenueText",
     "&Menütext"},
    {1, "txbRubrikenBemerkung", kBemerkung, BindKind::kText, "", "lbRubrikenBemerkung",
     "B&emerkung"},
    {2, "txbDatenTitel", kTitel, BindKind::kText, "", "lbDatenTitel", "&Titel"},
    {2, "cbxDatenFormat", kFormatId, BindKind::kList, "rsluDatenFormate", "lbDatenFormat",
     "&Format"},
    {2, "txbDatenBemerkung", kBemerkung, BindKind::kText, "", "lbDatenBemerkung", "&Bemerkung"},
    {2, "txbDatenVerbindung", kDatenquelle, BindKind::kText, "", "lbDatenVerbindung",
     "&Verbindung"},
    {2, "txbDatenAbfrage", kAbfrage, BindKind::kText, "", "lbDatenAbfrage", "&Abfrage"},
    {3, "cbxZuordnungenRubrik", kRubrikId, BindKind::kList, "rsluRubriken", "lbZuordnungenRubrik",
     "R&ubrik"},
    {3, "cbxZuordnungenDaten", kDatenId, BindKind::kList, "rsluDaten", "lbZuordnungenDaten",
     "D&aten"},
    {3, "txbZuordnungenRang", kRang, BindKind::kNumber, "", "lbZuordnungenRang", "Ra&ng"},
};

}  // namespace

std::span<const Binding> BindingTable() { return kBindings; }

const Binding* BindingOf(const std::string& control) {
  for (const Binding& binding : kBindings)
    if (control == binding.control) return &binding;
  return nullptr;
}

}  // namespace vn::config
