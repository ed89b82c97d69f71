#include "config/core/layout.h"

#include <algorithm>
#include <stdexcept>

#include "config/core/field_size.h"
#include "config/core/konfiguration_window.h"
#include "config/core/texts.h"

namespace vn::config {

namespace {

constexpr int kStripLeft = layout::kTabStripLeft;
constexpr int kStripTop = layout::kTabStripTop;
constexpr int kStripWidth = 9600;
constexpr int kStripHeight = 6000;
constexpr int kPanelLeft = kStripLeft + layout::kPanelOffsetX;
constexpr int kPanelTop = kStripTop + layout::kPanelOffsetY;
constexpr int kPanelWidth = kStripWidth - 480;
constexpr int kPanelHeight = kStripHeight - 480 - 240;
constexpr int kFieldHeight = 345;
constexpr int kGap = 120;
constexpr int kRow = kFieldHeight + kGap;
constexpr int kFirstTop = 240;
constexpr int kLabelLeft = 120;
constexpr int kLabelWidth = 1440;
constexpr int kFieldLeft = 1680;
constexpr int kFieldWidth = kPanelWidth - kFieldLeft - 240;
constexpr int kBarTop = kStripTop + kStripHeight + 120;
constexpr int kBarButton = 375;
constexpr int kDebugTop = kBarTop + kBarButton + 720;
constexpr int kDebugHeight = 2040;
// The long fields of the tab Daten leave room at their right for the small buttons.
constexpr int kSmallButton = 330;
constexpr int kLongFieldWidth = kFieldWidth - 2 * kSmallButton - 120;
constexpr int kVerbindungTop = kFirstTop + 3 * kRow;
constexpr int kVerbindungHeight = 1500;
constexpr int kAbfrageTop = kVerbindungTop + kVerbindungHeight + kGap;
constexpr int kAbfrageHeight = kPanelHeight - kAbfrageTop - 2 * kGap;
constexpr int kSmallLeft = kFieldLeft + kLongFieldWidth + 60;
constexpr int kStartLeft = kFieldLeft + 600;
constexpr int kStartLabelWidth = kLabelWidth + 600;
constexpr int kStartButtonsTop = kFirstTop + 3 * kRow + 240;
constexpr int kChooserButton = 480;

using K = ControlKind;
using W = KonfigurationWindow;

constexpr ControlPlace Label(const char* name, const char* container, int top, const char* caption,
                             const char* buddy, int width = kLabelWidth) {
  return {name, container, K::kLabel, kLabelLeft, top, width, kFieldHeight, caption, "", buddy};
}
constexpr ControlPlace Field(const char* name, const char* container, K kind, int left, int top,
                             int width, int height = kFieldHeight) {
  return {name, container, kind, left, top, width, height, "", "", ""};
}
constexpr ControlPlace Panel(const char* name, K kind, int left, int top, int width, int height) {
  return {name, "", kind, left, top, width, height, "", "", ""};
}
constexpr ControlPlace BarButton(const char* name, int left, const char* tooltip, Picture picture,
                                 Command command) {
  ControlPlace place{
      name, "picDatenSteuerung", K::kBarButton, left, 0, kBarButton, kBarButton, "", tooltip, ""};
  place.command = command;
  place.picture = picture;
  return place;
}
// A button with a caption, on a tab's panel or beside the debug box.
constexpr ControlPlace Button(const char* name, const char* container, int left, int top, int width,
                              int height, const char* caption, const char* tooltip,
                              Command command) {
  ControlPlace place{name, container, K::kButton, left, top, width, height, caption, tooltip, ""};
  place.command = command;
  return place;
}
// A small button at the lower right edge of one of the tab Daten's long fields.
constexpr ControlPlace SmallButton(const char* name, int left, int bottom, const char* caption,
                                   const char* tooltip, Picture picture, ControlFont font,
                                   Command command) {
  ControlPlace place = Button(name, "frTab1", left, bottom - kSmallButton, kSmallButton,
                              kSmallButton, caption, tooltip, command);
  place.picture = picture;
  place.font = font;
  place.pixelsUp = layout::kSmallButtonPixelsUp;
  return place;
}

constexpr ControlPlace kTable[] = {
    Panel("TabStrip", K::kTabStrip, kStripLeft, kStripTop, kStripWidth, kStripHeight),
    Panel("frTab0", K::kTabPanel, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight),
    Panel("frTab1", K::kTabPanel, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight),
    Panel("frTab2", K::kTabPanel, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight),
    Panel("frTab3", K::kTabPanel, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight),
    Panel("frTab4", K::kTabPanel, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight),
    {"cmdInfo", "", K::kButton, kStripLeft + kStripWidth - 405, kStripTop, 375, 345, "",
     texts::kInfoCaption, "", &W::cmdInfo_Click, Picture::kInfo},
    Panel("picDatenSteuerung", K::kPanel, kStripLeft, kBarTop, kStripWidth, kBarButton),
    BarButton("cmdMoveFirst", 0, "Erster Datensatz", Picture::kFirst, &W::cmdMoveFirst_Click),
    BarButton("cmdMovePrevious", 480, "Vorheriger Datensatz", Picture::kPrevious,
              &W::cmdMovePrevious_Click),
    BarButton("cmdMoveNext", 960, "Nächster Datensatz", Picture::kNext, &W::cmdMoveNext_Click),
    BarButton("cmdMoveLast", 1440, "Letzter Datensatz", Picture::kLast, &W::cmdMoveLast_Click),
    BarButton("cmdDelete", 2040, "Datensatz löschen", Picture::kDelete, &W::cmdDelete_Click),
    BarButton("cmdAddNew", 2520, "Neuer Datensatz", Picture::kAddNew, &W::cmdAddNew_Click),
    BarButton("cmdCancel", 3120, "Dateneingabe abbrechen", Picture::kCancel, &W::cmdCancel_Click),
    BarButton("cmdOK", 3600, "Dateneingabe übernehmen", Picture::kOK, &W::cmdOK_Click),
    {"txbStatus", "", K::kDebugBox, kStripLeft, kDebugTop, kStripWidth - 1320, kDebugHeight, "", "",
     ""},
    Button("cmdReset", "", kStripLeft + kStripWidth - 1200, kDebugTop, 1200, 375, "Reset", "",
           &W::cmdReset_Click),
    Button("cmdLine", "", kStripLeft + kStripWidth - 1200, kDebugTop + 480, 1200, 375, "Line", "",
           &W::cmdLine_Click),

    // Rubriken
    Field("txbRubrikenRubrik", "frTab0", K::kTextField, kFieldLeft, kFirstTop, kFieldWidth),
    Label("lbRubrikenRubrik", "frTab0", kFirstTop, "R&ubrik", "txbRubrikenRubrik"),
    Field("txbRubrikenRang", "frTab0", K::kTextField, kFieldLeft, kFirstTop + kRow, kFieldWidth),
    Label("lbRubrikenRang", "frTab0", kFirstTop + kRow, "&Rang", "txbRubrikenRang"),
    Field("txbRubrikenTitel", "frTab0", K::kTextField, kFieldLeft, kFirstTop + 2 * kRow,
          kFieldWidth),
    Label("lbRubrikenTitel", "frTab0", kFirstTop + 2 * kRow, "&Titel", "txbRubrikenTitel"),
    Field("txbRubrikenMenueText", "frTab0", K::kTextField, kFieldLeft, kFirstTop + 3 * kRow,
          kFieldWidth),
    Label("lbRubrikenMenueText", "frTab0", kFirstTop + 3 * kRow, "&Menütext",
          "txbRubrikenMenueText"),
    Field("txbRubrikenBemerkung", "frTab0", K::kTextField, kFieldLeft, kFirstTop + 4 * kRow,
          kFieldWidth),
    Label("lbRubrikenBemerkung", "frTab0", kFirstTop + 4 * kRow, "B&emerkung",
          "txbRubrikenBemerkung"),

    // Daten
    Field("txbDatenTitel", "frTab1", K::kTextField, kFieldLeft, kFirstTop, kFieldWidth),
    Label("lbDatenTitel", "frTab1", kFirstTop, "&Titel", "txbDatenTitel"),
    Field("cbxDatenFormat", "frTab1", K::kList, kFieldLeft, kFirstTop + kRow, kFieldWidth / 2),
    Label("lbDatenFormat", "frTab1", kFirstTop + kRow, "&Format", "cbxDatenFormat"),
    Button("cmdKopieren", "frTab1", kFieldLeft + kFieldWidth / 2 + 240, kFirstTop + kRow, 1500,
           kFieldHeight, "&Kopieren", "Neuer Datensatz als Kopie des aktuellen",
           &W::cmdKopieren_Click),
    Field("txbDatenBemerkung", "frTab1", K::kTextField, kFieldLeft, kFirstTop + 2 * kRow,
          kFieldWidth),
    Label("lbDatenBemerkung", "frTab1", kFirstTop + 2 * kRow, "&Bemerkung", "txbDatenBemerkung"),
    Field("txbDatenVerbindung", "frTab1", K::kLongText, kFieldLeft, kVerbindungTop, kLongFieldWidth,
          kVerbindungHeight),
    Label("lbDatenVerbindung", "frTab1", kVerbindungTop, "&Verbindung", "txbDatenVerbindung"),
    Field("txbDatenAbfrage", "frTab1", K::kLongText, kFieldLeft, kAbfrageTop, kLongFieldWidth,
          kAbfrageHeight),
    Label("lbDatenAbfrage", "frTab1", kAbfrageTop, "&Abfrage", "txbDatenAbfrage"),
    SmallButton("cmdVerbindung", kSmallLeft, kVerbindungTop + kVerbindungHeight, "",
                "Datenverknüpfungs-Assistent", Picture::kDataLink, ControlFont::kNormal,
                &W::cmdVerbindung_Click),
    SmallButton("cmdMinMaxDatenVerbindung", kSmallLeft + kSmallButton + 30,
                kVerbindungTop + kVerbindungHeight, FieldSizes::CaptionNormal(),
                "Feldgröße verändern", Picture::kNone, ControlFont::kBold,
                &W::cmdMinMaxDatenVerbindung_Click),
    SmallButton("cmdVorschau", kSmallLeft, kAbfrageTop + kAbfrageHeight, texts::kPreviewKey,
                texts::kPreviewTooltip, Picture::kNone, ControlFont::kNormal,
                &W::cmdVorschau_Click),
    SmallButton("cmdMinMaxDatenAbfrage", kSmallLeft + kSmallButton + 30,
                kAbfrageTop + kAbfrageHeight, FieldSizes::CaptionNormal(), "Feldgröße verändern ",
                Picture::kNone, ControlFont::kBold, &W::cmdMinMaxDatenAbfrage_Click),

    // Zuordnungen
    Field("cbxZuordnungenRubrik", "frTab2", K::kList, kFieldLeft, kFirstTop, kFieldWidth / 2),
    Label("lbZuordnungenRubrik", "frTab2", kFirstTop, "R&ubrik", "cbxZuordnungenRubrik"),
    Field("cbxZuordnungenDaten", "frTab2", K::kList, kFieldLeft, kFirstTop + kRow, kFieldWidth),
    Label("lbZuordnungenDaten", "frTab2", kFirstTop + kRow, "D&aten", "cbxZuordnungenDaten"),
    Field("txbZuordnungenRang", "frTab2", K::kTextField, kFieldLeft, kFirstTop + 2 * kRow, 1200),
    Label("lbZuordnungenRang", "frTab2", kFirstTop + 2 * kRow, "Ra&ng", "txbZuordnungenRang"),

    // Übersicht
    Field("tvZuordnungen", "frTab3", K::kTree, kLabelLeft, kFirstTop - 120, kPanelWidth - 240,
          kPanelHeight - kFirstTop),

    // Startoptionen
    Field("cbxStartRubrik", "frTab4", K::kEditList, kStartLeft, kFirstTop, kFieldWidth / 2),
    Label("lbStartRubrik", "frTab4", kFirstTop, "S&tartrubrik", "cbxStartRubrik", kStartLabelWidth),
    {"txbRegisterkarte", "frTab4", K::kTextField, kStartLeft, kFirstTop + kRow, kFieldWidth / 2,
     kFieldHeight, texts::kRegisterkarte, "", ""},
    Label("lbRegisterkarte", "frTab4", kFirstTop + kRow, "R&egisterkarte", "txbRegisterkarte",
          kStartLabelWidth),
    Field("txbNetlinks", "frTab4", K::kTextField, kStartLeft, kFirstTop + 2 * kRow,
          kFieldWidth - 600 - kChooserButton - 60),
    Button("cmdNetlinksOrdner", "frTab4", kStartLeft + kFieldWidth - 600 - kChooserButton,
           kFirstTop + 2 * kRow, kChooserButton, kFieldHeight, "...", "Netlinks-Ordner wählen",
           &W::cmdNetlinksOrdner_Click),
    Label("lbNetlinks", "frTab4", kFirstTop + 2 * kRow, "&Netlinks-Ordner", "txbNetlinks",
          kStartLabelWidth),
    Button("cmdStartDateienErstellen", "frTab4", kStartLeft, kStartButtonsTop, 2700, 420,
           "Start&dateien erstellen", "Aktiviert im ACT! die Varnolis-Registerkarte",
           &W::cmdStartDateienErstellen_Click),
    Button("cmdStartDateienEntfernen", "frTab4", kStartLeft + 2700 + 240, kStartButtonsTop, 2700,
           420, "Startdateien ent&fernen",
           "Es wird so die Varnolis-Registerkarte im ACT! entfernt.",
           &W::cmdStartDateienEntfernen_Click),
};

constexpr const char* kTabCaptions[] = {"&Rubriken", "&Daten", "&Zuordnungen", "Ü&bersicht",
                                        "&Startoptionen"};

}  // namespace

std::span<const ControlPlace> LayoutTable() { return kTable; }

const ControlPlace* FindPlace(const std::string& name) {
  for (const ControlPlace& place : kTable)
    if (name == place.name) return &place;
  return nullptr;
}

const ControlPlace& Place(const std::string& name) {
  if (const ControlPlace* place = FindPlace(name)) return *place;
  throw std::out_of_range("no control " + name + " in the layout");
}

TwipsRect Rect(const std::string& name) {
  const ControlPlace& place = Place(name);
  return {place.left, place.top, place.width, place.height};
}

TwipsRect LoadClientArea(const TwipsRect& strip, const TwipsRect& bar, int frameWidth,
                         int statusBarHeight) {
  return {0, 0, strip.left + strip.width + std::max(frameWidth, strip.left),
          statusBarHeight + bar.top + bar.height + layout::kBottomMargin};
}

std::span<const char* const> TabCaptions() { return kTabCaptions; }

}  // namespace vn::config
