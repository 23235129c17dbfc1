// The address-file commands of corvantis-db: create, import and export. They run the import and
// export logic the windows run, on the address file named, with no window. main() hands them
// the arguments and the streams when the command is one of theirs; tests run the program.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace dbtool {

/// True for "create", "import" and "export".
bool isTransferCommand(const std::string &name);

/// Runs one of them (`args` excludes the program name; args[0] is the command). Exit statuses
/// as run(): kOk, kFailure with the message on `err`, kBadUse with the usage on `err`.
/// Nothing is left half-written: an import that fails removes the records it appended (and a
/// file it created), an export that fails leaves no output file. `progressBar` draws a bar on
/// `err` while records are imported or exported.
int runTransfer(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool progressBar);

} // namespace dbtool
