// A temporary index over the open address file, as the checks list their findings: an empty
// IDX file on one key, keys added record by record while the table stays in record order,
// then the table ordered by it. release() (or the destructor) closes it and deletes the file;
// the table is then in record order.
#pragma once

#include "TResult.h"

#include <QString>

#include <string>

class TAddressTable;

class TTempIndex
{
public:
    explicit TTempIndex(TAddressTable &table) : m_table(table) {}
    ~TTempIndex() { release(); }
    TTempIndex(const TTempIndex &) = delete;
    TTempIndex &operator=(const TTempIndex &) = delete;

    // Deletes a file a stopped run left at `path`, creates the empty index there on `keyExpr`
    // and puts the table in record order for adding keys. After a failure release() still
    // deletes whatever was made.
    TResult create(const QString &path, const std::string &keyExpr);
    // Orders the table by the index, at its first record.
    TResult select();
    bool isOpen() const { return !m_path.isEmpty(); }
    void release();

private:
    TAddressTable &m_table;
    QString m_path;
    int m_order = 0;
};
