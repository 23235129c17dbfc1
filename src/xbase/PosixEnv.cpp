// The operating system's files behind Env::posix(): file descriptors, pread/pwrite, flock for
// whole-file locks and open-file-description locks for record locks.
#include "Env.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xbase {

namespace {

std::string errnoText()
{
    return std::strerror(errno);
}

class PosixFile : public File
{
public:
    PosixFile(std::string path, int fd, bool writable) : File(std::move(path), writable), m_fd(fd) {}
    ~PosixFile() override { ::close(m_fd); }

    Status readSomeAt(uint64_t offset, void *data, size_t size, size_t &got) const override
    {
        got = 0;
        char *p = static_cast<char *>(data);
        while (got < size) {
            const ssize_t n = ::pread(m_fd, p + got, size - got, static_cast<off_t>(offset + got));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return Status::IoError("Cannot read " + path() + ": " + errnoText());
            }
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
        }
        return Status::Ok();
    }

    Status writeAt(uint64_t offset, const void *data, size_t size) override
    {
        if (!isWritable())
            return Status::IoError(path() + " is open read-only");
        const char *p = static_cast<const char *>(data);
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(m_fd, p + done, size - done, static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return Status::IoError("Cannot write " + path() + ": " + errnoText());
            }
            done += static_cast<size_t>(n);
        }
        noteWrite();
        return Status::Ok();
    }

    Status size(uint64_t &out) const override
    {
        struct stat st;
        if (::fstat(m_fd, &st) != 0)
            return Status::IoError("Cannot read the size of " + path() + ": " + errnoText());
        out = static_cast<uint64_t>(st.st_size);
        return Status::Ok();
    }

    Status truncate(uint64_t size) override
    {
        if (!isWritable())
            return Status::IoError(path() + " is open read-only");
        if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0)
            return Status::IoError("Cannot truncate " + path() + ": " + errnoText());
        noteWrite();
        return Status::Ok();
    }

    Status sync() override
    {
        if (::fdatasync(m_fd) != 0)
            return Status::IoError("Cannot flush " + path() + ": " + errnoText());
        return Status::Ok();
    }

    Status lock(FileLockKind kind) override
    {
        int op = LOCK_UN;
        if (kind == FileLockKind::Shared)
            op = LOCK_SH | LOCK_NB;
        else if (kind == FileLockKind::Exclusive)
            op = LOCK_EX | LOCK_NB;
        int rc;
        do {
            rc = ::flock(m_fd, op);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            if (errno == EWOULDBLOCK)
                return Status::Locked(path() + " is in use by another program or user");
            return Status::IoError("Cannot lock " + path() + ": " + errnoText());
        }
        return Status::Ok();
    }

    Status lockRange(uint64_t offset, bool wait) override
    {
        struct flock fl;
        std::memset(&fl, 0, sizeof fl);
        fl.l_type = isWritable() ? F_WRLCK : F_RDLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = static_cast<off_t>(offset);
        fl.l_len = 1;
        int rc;
        do {
            rc = ::fcntl(m_fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl);
        } while (rc != 0 && wait && errno == EINTR);
        if (rc != 0) {
            if (errno == EACCES || errno == EAGAIN)
                return Status::Locked("The record is locked by another program or user");
            return Status::IoError("Cannot lock a record of " + path() + ": " + errnoText());
        }
        return Status::Ok();
    }

    void unlockRange(uint64_t offset) override
    {
        struct flock fl;
        std::memset(&fl, 0, sizeof fl);
        fl.l_type = F_UNLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = static_cast<off_t>(offset);
        fl.l_len = 1;
        // Unlocking a byte this handle holds does not fail; nothing is left to do if it did.
        (void)::fcntl(m_fd, F_OFD_SETLK, &fl);
    }

private:
    int m_fd;
};

class PosixEnv : public Env
{
public:
    Status open(const std::string &path, FileAccess access, std::unique_ptr<File> &out) override
    {
        out.reset();
        int flags = O_CLOEXEC;
        switch (access) {
        case FileAccess::ReadOnly:
            flags |= O_RDONLY;
            break;
        case FileAccess::ReadWrite:
            flags |= O_RDWR;
            break;
        case FileAccess::Create:
            flags |= O_RDWR | O_CREAT | O_TRUNC;
            break;
        }
        int fd;
        do {
            fd = ::open(path.c_str(), flags, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            if (errno == ENOENT)
                return Status::NotFound("File " + path + " not found");
            return Status::IoError("Cannot open " + path + ": " + errnoText());
        }
        struct stat st;
        if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
            ::close(fd);
            return Status::IoError(path + " is not a regular file");
        }
        out = std::make_unique<PosixFile>(path, fd, access != FileAccess::ReadOnly);
        return Status::Ok();
    }

    bool exists(const std::string &path) override
    {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    Status rename(const std::string &from, const std::string &to) override
    {
        if (::rename(from.c_str(), to.c_str()) != 0)
            return Status::IoError("Cannot rename " + from + " to " + to + ": " + errnoText());
        return Status::Ok();
    }

    Status remove(const std::string &path) override
    {
        if (::unlink(path.c_str()) != 0) {
            if (errno == ENOENT)
                return Status::NotFound("File " + path + " not found");
            return Status::IoError("Cannot delete " + path + ": " + errnoText());
        }
        return Status::Ok();
    }
};

} // namespace

Env &Env::posix()
{
    static PosixEnv env;
    return env;
}

} // namespace xbase
