// Test support: the shared xBase fixtures' JSON descriptions (structure, records, expected
// answers) turned into a Schema and record buffers, without the table's DBF reader. Also a
// small JSON reader and UTF-8 to Windows-1252 conversion for test data.
#pragma once

#include "Field.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace xbase::test {

/// One parsed JSON value.
struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<JsonValue> array;
    std::vector<std::pair<std::string, JsonValue>> object;

    /// The member `key` of an object, or nullptr.
    const JsonValue *get(std::string_view key) const;
    /// The member's text, "" when missing or not a string.
    std::string text(std::string_view key) const;
};

/// Parses one JSON text; false with `error` set when it is malformed.
bool parseJson(std::string_view text, JsonValue &out, std::string &error);

/// UTF-8 to Windows-1252; characters the code page lacks become '?'.
std::string utf8ToCp1252(std::string_view text);

/// A fixture table described by <name>.expected.json and <name>.records.jsonl.
struct FixtureTable {
    Schema schema;
    std::vector<std::string> records; ///< record bytes, delete mark first; records[i] is recno i+1
    JsonValue expected;               ///< the whole expected.json

    /// Loads the fixture `name` (e.g. "ADD0001") from the shared fixture folder.
    static bool load(const std::string &name, FixtureTable &out, std::string &error);
    RecordRef record(uint32_t recno) const { return {records[recno - 1].data(), recno}; }
    bool isMarked(uint32_t recno) const { return records[recno - 1][0] == '*'; }
};

/// Lays out one record for `schema` from field values given as Windows-1252 text (C, and
/// N and D as their stored text; L as "T"/"F"). Missing fields are blank.
std::string buildRecord(const Schema &schema, const std::map<std::string, std::string> &values,
                        bool marked = false);

} // namespace xbase::test
