// Helpers the layout tests share: bytes from readable pieces, a fresh class registry.
#pragma once

#include "TGClassRegistry.h"

#include <QByteArray>

#include <initializer_list>

// Bytes from a mix of single bytes and ASCII texts, as layout examples are written.
struct Piece {
    QByteArray bytes;
    Piece(int byte) : bytes(1, static_cast<char>(byte)) {}
    Piece(const char *text) : bytes(text) {}
};
inline QByteArray bytesOf(std::initializer_list<Piece> pieces)
{
    QByteArray out;
    for (const Piece &p : pieces)
        out.append(p.bytes);
    return out;
}

// The run's registrations as a fresh run has them after creating surfaces of `kinds`.
inline void freshRegistry(std::initializer_list<TGSurfaceKind> kinds)
{
    TGClassRegistry::clear();
    for (TGSurfaceKind k : kinds)
        TGClassRegistry::registerKind(k);
}
