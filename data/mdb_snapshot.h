// Access files on Linux, where no Jet engine exists: mdbtools' library (libmdb.so.3, loaded when
// first needed) copies the tables of a Jet or ACE file into an SQLite snapshot in the user's
// cache folder, which the Jet provider then queries. The Access file is only read.
#pragma once

#include <string>

namespace vn::data {

// The folder of the snapshots: $XDG_CACHE_HOME/varnolis, else ~/.cache/varnolis; created with
// mode 0700 when missing.
std::string SnapshotFolder();

// The path of an SQLite snapshot of the Access file `accessPath` that matches the file's
// present size and modification time: the one made before, or a new one (replacing the older
// snapshots of that file). Throws RuntimeError when mdbtools' library is missing (naming the
// package to install) or cannot read the file.
std::string MdbSnapshotOf(const std::string& accessPath);

}  // namespace vn::data
