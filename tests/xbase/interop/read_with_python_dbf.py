# Prints every record of a DBF table as python-dbf reads it: record number, delete mark
# ("D" or "-") and each field's value as hex of its Windows-1252 bytes ("-" when empty).
# Character values without trailing blanks, logical T/F, dates YYYYMMDD, numbers as text.
import datetime
import sys

import dbf

table = dbf.Table(sys.argv[1], codepage='cp1252')
table.open(dbf.READ_ONLY)
types = {}
for name in table.field_names:
    types[name] = table.field_info(name)[0]
for number, record in enumerate(table, 1):
    out = [str(number), 'D' if dbf.is_deleted(record) else '-']
    for name in table.field_names:
        value = record[name]
        if value is None:
            text = ''
        elif isinstance(value, bool) or type(value).__name__ in ('Logical', 'Truth'):
            text = 'T' if value is True or value == True else ('F' if value is False or value == False else '')
        elif isinstance(value, (datetime.date, dbf.Date)):
            text = value.strftime('%Y%m%d') if value else ''
        elif isinstance(value, str):
            text = value.rstrip(' ') if chr(types[name]) == 'C' else value
        else:
            text = str(value)
        out.append(text.encode('cp1252').hex() if text else '-')
    print(' '.join(out))
table.close()
