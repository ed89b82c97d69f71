// The host's commands; each returns the process exit status.
#pragma once

namespace vn::host {

// The host's command line, arguments in UTF-8; the process exit status.
int Main(int argc, char** argv);

int RunGet(int argc,
           char** argv);  // varnolis get [--cb N] [--trace] [-o FILE] [--library PATH] URL
int RunRegister(int argc, char** argv);  // varnolis register / unregister [--library PATH]
int RunUnregister(int argc, char** argv);
int RunQuery(int argc, char** argv);  // varnolis query [--connection STRING] SQL
int RunParse(int argc, char** argv);  // varnolis parse TEXT

}  // namespace vn::host
