// The logic of corvantis-db, the command-line tool that looks into and repairs tables. main()
// hands it the arguments and the streams; tests call it the same way.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace dbtool {

/// Exit statuses of the tool.
enum ExitCode { kOk = 0, kFailure = 1, kBadUse = 2 };

/// Runs one command. `args` excludes the program name. Text arguments and output are UTF-8;
/// the tables hold Windows-1252. Failures print their message to `err`; bad use prints the
/// usage there. `progressBar` draws a bar on `err` for reindex and pack.
int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool progressBar);

/// The usage text.
std::string usage();

} // namespace dbtool
