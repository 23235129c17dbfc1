#include "PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    m_controller = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_controller < 0)
        return;
    if (::grantpt(m_controller) != 0 || ::unlockpt(m_controller) != 0) {
        hangUp();
        return;
    }
    const char *name = ::ptsname(m_controller);
    if (!name) {
        hangUp();
        return;
    }
    m_device = QString::fromLocal8Bit(name);
    m_terminal = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    ::fcntl(m_controller, F_SETFL, ::fcntl(m_controller, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    hangUp();
    if (m_terminal >= 0)
        ::close(m_terminal);
}

void PtyPair::hangUp()
{
    if (m_controller >= 0)
        ::close(m_controller);
    m_controller = -1;
}

QByteArray PtyPair::read(int firstByteMilliseconds)
{
    QByteArray bytes;
    if (m_controller < 0)
        return bytes;
    int wait = firstByteMilliseconds;
    for (;;) {
        pollfd p{m_controller, POLLIN, 0};
        if (::poll(&p, 1, wait) <= 0 || !(p.revents & POLLIN))
            return bytes;
        char buffer[256];
        const ssize_t n = ::read(m_controller, buffer, sizeof buffer);
        if (n <= 0)
            return bytes;
        bytes.append(buffer, static_cast<int>(n));
        // What follows a write arrives at once; a short pause ends the read.
        wait = 20;
    }
}

termios PtyPair::lineSettings() const
{
    termios settings{};
    ::tcgetattr(m_terminal, &settings);
    return settings;
}

bool PtyPair::setLineSettings(const termios &settings)
{
    return ::tcsetattr(m_terminal, TCSANOW, &settings) == 0;
}
