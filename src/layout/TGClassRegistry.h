// The layout classes a stream may name. A class is accepted only after it was registered;
// registration holds for the whole run and accumulates, and each kind of surface registers
// its classes when the first surface of that kind is created.
#pragma once

#include <QByteArray>

#include <memory>

class TGGraphicControl;
class TGOwner;

enum class TGSurfaceKind { Label, Envelope, Report };

class TGClassRegistry
{
public:
    // Registers the classes a surface of `kind` may hold.
    static void registerKind(TGSurfaceKind kind);
    static void registerClass(const QByteArray &className);
    static bool isRegistered(const QByteArray &className);
    // A new object of a registered class, or null.
    static std::unique_ptr<TGGraphicControl> create(const QByteArray &className, TGOwner *owner);
    // Forgets every registration: a fresh run for tests and tools.
    static void clear();
};
