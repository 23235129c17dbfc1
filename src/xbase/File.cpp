#include "File.h"

namespace xbase {

namespace {
File::WriteObserver g_writeObserver = nullptr;
uint64_t g_writeCount = 0;
} // namespace

void File::setWriteObserver(WriteObserver observer)
{
    g_writeObserver = observer;
    g_writeCount = 0;
}

void File::noteWrite()
{
    if (g_writeObserver)
        g_writeObserver(++g_writeCount);
}

Status File::readAt(uint64_t offset, void *data, size_t size) const
{
    size_t got = 0;
    XBASE_TRY(readSomeAt(offset, data, size, got));
    if (got != size)
        return Status::Corruption(m_path + " ends before offset " + std::to_string(offset + size));
    return Status::Ok();
}

} // namespace xbase
