// The file environment of the engine: every file a table touches (DBF, memo, index, the
// temporary files of pack and copies) is opened, renamed and removed through one Env, chosen
// when the table is opened or created. Env::posix() is the operating system's file system;
// MemoryEnv keeps files as byte buffers and can be told to fail. The caller owns an Env and
// keeps it alive while tables use it.
#pragma once

#include "File.h"
#include "Status.h"

#include <memory>
#include <string>

namespace xbase {

class Env
{
public:
    virtual ~Env() = default;

    /// The operating system's files. Lives as long as the process.
    static Env &posix();

    /// Opens `path`; with Create the file is created or emptied. NotFound when it does not
    /// exist (without Create), IoError when the system refuses. Only regular files open.
    virtual Status open(const std::string &path, FileAccess access, std::unique_ptr<File> &out) = 0;
    /// True when `path` names an existing regular file.
    virtual bool exists(const std::string &path) = 0;
    /// Renames `from` to `to` in one step, replacing a file named `to`.
    virtual Status rename(const std::string &from, const std::string &to) = 0;
    /// Removes `path`. NotFound when there is no such file.
    virtual Status remove(const std::string &path) = 0;

protected:
    Env() = default;
};

} // namespace xbase
