// Keeps the display of an address table frozen for as long as it lives: the table holds its
// recordChanged() back until the outermost guard ends, which announces the change once. Every
// return path thaws, so a look-up or a pass over records cannot leave the form frozen. Made on
// the stack by whoever moves the table about behind the user's back.
#pragma once

class TAddressTable;

class [[nodiscard]] TFreezeGuard
{
public:
    explicit TFreezeGuard(TAddressTable &table);
    ~TFreezeGuard();
    TFreezeGuard(const TFreezeGuard &) = delete;
    TFreezeGuard &operator=(const TFreezeGuard &) = delete;
    TFreezeGuard(TFreezeGuard &&other) noexcept;
    TFreezeGuard &operator=(TFreezeGuard &&) = delete;

    // Thaws now instead of at the end of the scope; a second call does nothing.
    void release();

private:
    TAddressTable *m_table;
};
