#include "File.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xbase {

namespace {
File::WriteObserver g_writeObserver = nullptr;
uint64_t g_writeCount = 0;

std::string errnoText()
{
    return std::strerror(errno);
}
} // namespace

void File::setWriteObserver(WriteObserver observer)
{
    g_writeObserver = observer;
    g_writeCount = 0;
}

File::~File()
{
    close();
}

Status File::open(const std::string &path, FileAccess access)
{
    close();
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
    m_fd = fd;
    m_writable = access != FileAccess::ReadOnly;
    m_path = path;
    return Status::Ok();
}

void File::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_writable = false;
}

Status File::readSomeAt(uint64_t offset, void *data, size_t size, size_t &got) const
{
    got = 0;
    char *p = static_cast<char *>(data);
    while (got < size) {
        ssize_t n = ::pread(m_fd, p + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Status::IoError("Cannot read " + m_path + ": " + errnoText());
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return Status::Ok();
}

Status File::readAt(uint64_t offset, void *data, size_t size) const
{
    size_t got = 0;
    XBASE_TRY(readSomeAt(offset, data, size, got));
    if (got != size)
        return Status::Corruption(m_path + " ends before offset " + std::to_string(offset + size));
    return Status::Ok();
}

Status File::writeAt(uint64_t offset, const void *data, size_t size)
{
    if (!m_writable)
        return Status::IoError(m_path + " is open read-only");
    const char *p = static_cast<const char *>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::pwrite(m_fd, p + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Status::IoError("Cannot write " + m_path + ": " + errnoText());
        }
        done += static_cast<size_t>(n);
    }
    if (g_writeObserver)
        g_writeObserver(++g_writeCount);
    return Status::Ok();
}

Status File::size(uint64_t &out) const
{
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        return Status::IoError("Cannot read the size of " + m_path + ": " + errnoText());
    out = static_cast<uint64_t>(st.st_size);
    return Status::Ok();
}

Status File::truncate(uint64_t size)
{
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0)
        return Status::IoError("Cannot truncate " + m_path + ": " + errnoText());
    if (g_writeObserver)
        g_writeObserver(++g_writeCount);
    return Status::Ok();
}

Status File::sync()
{
    if (::fdatasync(m_fd) != 0)
        return Status::IoError("Cannot flush " + m_path + ": " + errnoText());
    return Status::Ok();
}

Status File::lock(FileLockKind kind)
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
            return Status::Locked(m_path + " is in use by another program or user");
        return Status::IoError("Cannot lock " + m_path + ": " + errnoText());
    }
    return Status::Ok();
}

Status File::lockRange(uint64_t offset, bool wait)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = m_writable ? F_WRLCK : F_RDLCK;
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
        return Status::IoError("Cannot lock a record of " + m_path + ": " + errnoText());
    }
    return Status::Ok();
}

void File::unlockRange(uint64_t offset)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = 1;
    ::fcntl(m_fd, F_OFD_SETLK, &fl);
}

} // namespace xbase
