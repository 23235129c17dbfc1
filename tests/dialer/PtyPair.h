// A pseudo-terminal pair made for one test: the test reads what a program writes to the
// terminal side (the device a modem would be) from the controller side. The terminal side is
// also held open by the test, so its line settings can be set and read. Both close with the
// object.
#pragma once

#include <QByteArray>
#include <QString>

#include <termios.h>

class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isOpen() const { return m_controller >= 0 && m_terminal >= 0; }
    // The terminal side's device path ("/dev/pts/3").
    const QString &device() const { return m_device; }

    // Everything written to the terminal side so far and not read yet: waits up to
    // `firstByteMilliseconds` for the first byte, then takes what follows without a pause.
    QByteArray read(int firstByteMilliseconds = 500);

    // The terminal side's line settings.
    termios lineSettings() const;
    bool setLineSettings(const termios &settings);

    // Closes the controller side: writes to the terminal side fail from then on.
    void hangUp();

private:
    int m_controller = -1;
    int m_terminal = -1;
    QString m_device;
};
