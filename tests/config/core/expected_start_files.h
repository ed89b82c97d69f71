// The start files as ACT! reads them, byte for byte, for the rubric Kunden: the control file
// ("@" stands for the folder) and the page.
#pragma once

#include "platform/path_separator.h"

namespace vn::config::testing {

inline constexpr char kControlKunden[] =
    "ACT! Browser Control File Version 1.00\r\n"
    "[VIEW]\r\n"
    "Type = CONTACTTAB\r\n"
    "STARTURL=\"@" VN_PATH_SEP
    "Varnolis.htm\"\r\n"
    "TITLE=\"Var&nolis\"\r\n"
    "PRIORITY=0\r\n"
    "\r\n";

inline constexpr char kPageKunden[] =
    "<html>\r\n"
    "<head>\r\n"
    "<title>Varnolis</title>\r\n"
    "<script language=\"JavaScript\">\r\n"
    "<!--\r\n"
    "function Warte() {\r\n"
    "window.setTimeout(\"GoToURL('parent','varnolis://rubrik/Kunden')\",2000);\r\n"
    "}\r\n"
    "function GoToURL() { \r\n"
    "  for (var i=0; i< (GoToURL.arguments.length - 1); i+=2) \r\n"
    "    eval(GoToURL.arguments[i]+\".location='\"+GoToURL.arguments[i+1]+\"'\");\r\n"
    "  return false;\r\n"
    "}\r\n"
    "//-->\r\n"
    "</script>\r\n"
    "</head>\r\n"
    "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#000099\" onLoad=\"Warte();return\">\r\n"
    "Starte <a href=\"varnolis://rubrik/Kunden\">Varnolis </a>... \r\n"
    "</body>\r\n"
    "</html>\r\n"
    "\r\n";

}  // namespace vn::config::testing
