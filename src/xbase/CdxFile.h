// A compound index file (.CDX): a tag directory and one compact B-tree per named tag. The
// table that owns the file keeps every tag in step with its records.
#pragma once

#include "Env.h"
#include "IndexTag.h"
#include "Status.h"

#include <memory>
#include <string>
#include <vector>

namespace xbase {

class CdxFile
{
public:
    virtual ~CdxFile() = default;

    /// Opens an existing file and checks its directory. Corruption when it does not fit the
    /// format; the file is then never written.
    static Status open(Env &env, const std::string &path, bool readOnly, std::unique_ptr<CdxFile> &out);
    static Status open(const std::string &path, bool readOnly, std::unique_ptr<CdxFile> &out)
    {
        return open(Env::posix(), path, readOnly, out);
    }
    /// Creates an empty file with no tags (replacing any file of that name).
    static Status create(Env &env, const std::string &path, std::unique_ptr<CdxFile> &out);
    static Status create(const std::string &path, std::unique_ptr<CdxFile> &out)
    {
        return create(Env::posix(), path, out);
    }
    /// Opens a file held in memory (the bytes of a .CDX); changes stay in memory.
    static Status openFromMemory(std::string bytes, bool readOnly, std::unique_ptr<CdxFile> &out);

    /// Tags in directory order (the order they were added); index 0 is order 1.
    virtual int tagCount() const = 0;
    virtual IndexTag *tag(int index) = 0;
    /// The tag named `name` (any letter case), or nullptr.
    virtual IndexTag *tag(const std::string &name) = 0;

    /// Starts a new tag; it becomes visible in the directory when the builder finishes. A tag
    /// of the same name is replaced in place (it keeps its order number). The builder must be
    /// finished or dropped before this file is closed. InvalidArgument for a bad name (1 to 10
    /// letters, digits or '_'), key length (1 to 240) or expressions longer than the file holds.
    virtual Status addTag(const TagSpec &spec, std::unique_ptr<TagBuilder> &builder) = 0;
    virtual Status removeTag(const std::string &name) = 0;

    /// True when the file was left in the middle of an update (the process ended before
    /// flush): its tags may not match the records and want a rebuild. It stays true, and the
    /// file keeps saying so when flushed, until every tag has been built again.
    virtual bool wasInterrupted() const = 0;
    /// Marks the file as left in the middle of an update (its tags no longer follow the
    /// records): wasInterrupted() holds from now on and the mark stays in the file.
    virtual void markInterrupted() = 0;
    /// Writes what is pending and marks the file consistent. Closing the file flushes too.
    virtual Status flush() = 0;
    /// Flushes and makes the file survive a crash of the system.
    virtual Status sync() = 0;
    /// Writes what is pending, forgets every cached node and rereads the tag headers, for a
    /// file other processes may have changed (shared opening). Tags keep their objects; tags
    /// other processes added or removed are seen only by opening the file again.
    virtual Status refresh() = 0;
    virtual const std::string &path() const = 0;

    /// Verifies the directory and every tag's tree; one message per fault.
    virtual Status check(std::vector<std::string> &faults) = 0;
};

/// A compact single-tag index file (.IDX), used for temporary orders.
class IdxFile
{
public:
    virtual ~IdxFile() = default;
    static Status open(Env &env, const std::string &path, bool readOnly, std::unique_ptr<IdxFile> &out);
    static Status open(const std::string &path, bool readOnly, std::unique_ptr<IdxFile> &out)
    {
        return open(Env::posix(), path, readOnly, out);
    }
    /// Creates an empty index for `spec` (name ignored); keys are then added one by one.
    static Status create(Env &env, const std::string &path, const TagSpec &spec,
                         std::unique_ptr<IdxFile> &out);
    static Status create(const std::string &path, const TagSpec &spec, std::unique_ptr<IdxFile> &out)
    {
        return create(Env::posix(), path, spec, out);
    }
    /// Opens a file held in memory (the bytes of an .IDX); changes stay in memory.
    static Status openFromMemory(std::string bytes, bool readOnly, std::unique_ptr<IdxFile> &out);
    virtual IndexTag *tag() = 0;
    virtual Status flush() = 0;
};

} // namespace xbase
