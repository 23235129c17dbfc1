#!/usr/bin/python3
"""Writes the foreign-table fixtures of the engine tests with python3-dbf, an independent
xBase library, and what that library reads back from them.

Run from any folder with Debian's /usr/bin/python3 (python3-dbf belongs to it); the files are
written beside this script. Regenerating changes the DBF headers' last-update bytes only.

Each table has character, numeric, date, logical and (where the format has them) memo fields,
rows marked deleted, a blank row, accented text in the table's code page and memos of several
blocks. TABLES.expected lists, per table, the header facts and every row as python3-dbf reads
it: one line per row, the delete mark, then each field as NAME=KIND:VALUE, where C and M
values are the stored bytes in hex (trailing blanks dropped), N the number python3-dbf reads
("" when blank), D YYYYMMDD ("" when blank) and L T, F or "" (blank or unknown).
"""
import datetime
import os

import dbf

HERE = os.path.dirname(os.path.abspath(__file__))

ROWS = [
    ('Smith', 12.5, datetime.date(1997, 4, 28), True, 'First line\r\nSecond line', False),
    ('Jones', -3, None, False, '', True),
    ('Caf\u00e9 M\u00fcller', 0, datetime.date(2001, 1, 2), None, 'x' * 700, False),
    ('', None, None, None, '', False),
    ('Zywiec', 123456.78, datetime.date(1969, 12, 31), False, 'End\u00e9\x1a', True),
    ('O\'Brien', 7, datetime.date(2026, 2, 28), True, 'y' * 511, False),
]

TABLES = [
    # name, python3-dbf type, code page, whether it has a memo field
    ('DB3MEMO', 'db3', 'cp1252', True),
    ('CLIPPER', 'clp', 'cp437', True),
    ('FOXPRO', 'fp', 'cp1252', True),
    ('DB3PLAIN', 'db3', 'cp850', False),
]


def make(name, kind, codepage, memo):
    path = os.path.join(HERE, name)
    for ext in ('.DBF', '.DBT', '.FPT', '.dbf', '.dbt', '.fpt'):
        if os.path.exists(path + ext):
            os.remove(path + ext)
    spec = 'NAME C(20); AMOUNT N(10,2); BORN D; ACTIVE L'
    if memo:
        spec += '; NOTES M'
    table = dbf.Table(path + '.DBF', spec, dbf_type=kind, codepage=codepage)
    table.open(dbf.READ_WRITE)
    for lname, amount, born, active, notes, deleted in ROWS:
        values = [lname, amount, born, active]
        if memo:
            # dBase III memos end at the first 0x1A: python3-dbf writes none inside a memo.
            values.append(notes.replace('\x1a', '') if kind in ('db3', 'clp') else notes)
        table.append(tuple(values))
        if deleted:
            dbf.delete(table[-1])
    table.close()


def hexbytes(text, codepage):
    return text.rstrip(' ').encode(codepage).hex()


def describe(name, codepage):
    path = os.path.join(HERE, name + '.DBF')
    with open(path, 'rb') as f:
        header = f.read(32)
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    lines = ['TABLE %s version=%02X codepage=%d records=%d fields=%d' %
             (name, header[0], header[29], len(table), len(table.field_names))]
    for record in table:
        parts = ['*' if dbf.is_deleted(record) else '-']
        for field in table.field_names:
            kind = table.field_info(field).field_type
            kind = chr(kind) if isinstance(kind, int) else str(kind)
            kind = kind.split('.')[-1][0] if len(kind) > 1 else kind
            value = record[field]
            if kind in ('C', 'M'):
                text = hexbytes(value or '', codepage)
            elif kind == 'N':
                text = '' if value is None else repr(float(value))
            elif kind == 'D':
                text = '' if not value else value.strftime('%Y%m%d')
            elif kind == 'L':
                text = '' if value is None else ('T' if value else 'F')
            else:
                raise ValueError(kind)
            parts.append('%s=%s:%s' % (field.upper(), kind, text))
        lines.append(' '.join(parts))
    table.close()
    return lines


def main():
    lines = []
    for name, kind, codepage, memo in TABLES:
        make(name, kind, codepage, memo)
        lines += describe(name, codepage)
    with open(os.path.join(HERE, 'TABLES.expected'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
