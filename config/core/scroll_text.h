// The lines of the text that scrolls upwards in the about window (frmInfo), the first one the
// product's name in bold; every front paints them into its scroll picture.
#pragma once

#include <iterator>

namespace vn::config::texts {

inline constexpr const char* kScrollLines[] = {
    "Varnolis",
    "",
    "Kundeninformationen aus Ihren",
    "Datenbanken direkt in ACT!",
    "",
    "Rubriken ordnen die Seiten,",
    "Daten liefern Verbindung und Abfrage,",
    "Zuordnungen bestimmen Reihenfolge",
    "und Inhalt jeder Rubrik.",
    "",
    "Die Konfiguration legt fest,",
    "was die Registerkarte zeigt.",
    "",
    "Vielen Dank für Ihr Vertrauen.",
};
inline constexpr int kScrollLineCount = static_cast<int>(std::size(kScrollLines));

}  // namespace vn::config::texts
