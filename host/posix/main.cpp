// The host's entry point on Linux: the arguments are UTF-8 already.
#include "host/commands.h"

int main(int argc, char** argv) { return vn::host::Main(argc, argv); }
