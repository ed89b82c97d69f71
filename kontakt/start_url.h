// Where the contact tab starts and which file plays ACT!: the same places the contact manager
// and the library use.
#pragma once

#include <QString>
#include <QUrl>

namespace vn::kontakt {

// A URL typed on the command line or in the address line: varnolis and other URLs as they
// are, anything else as a file path or a web address.
QUrl UrlFromUserText(const QString& text);

// The start page Varnolis.htm in ACT!'s NetLinks folder (from the registry stand-in), else
// varnolis://rubrik/ + the first rubric by rank in `programFolder`'s configuration database.
QUrl StartUrl(const QString& programFolder);

// The first rubric by rank, or "" when the database cannot be read or has none.
QString FirstRubric(const QString& programFolder);

// The ACT! stand-in file: $VARNOLIS_ACT when set and not empty, else
// $XDG_CONFIG_HOME/Varnolis/act.json.
QString StandinFilePath();

}  // namespace vn::kontakt
