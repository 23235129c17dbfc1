#include "FixtureRecords.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace xbase::test {

namespace {

class JsonReader
{
public:
    explicit JsonReader(std::string_view text) : m_s(text) {}

    bool value(JsonValue &out)
    {
        skip();
        if (m_i >= m_s.size())
            return fail("unexpected end");
        const char c = m_s[m_i];
        if (c == '{')
            return object(out);
        if (c == '[')
            return array(out);
        if (c == '"') {
            out.type = JsonValue::Type::String;
            return string(out.string);
        }
        if (literal("true")) {
            out.type = JsonValue::Type::Bool;
            out.boolean = true;
            return true;
        }
        if (literal("false")) {
            out.type = JsonValue::Type::Bool;
            return true;
        }
        if (literal("null"))
            return true;
        return number(out);
    }

    bool atEnd()
    {
        skip();
        return m_i == m_s.size();
    }
    std::string error;

private:
    std::string_view m_s;
    size_t m_i = 0;

    bool fail(const char *what)
    {
        if (error.empty())
            error = std::string(what) + " at offset " + std::to_string(m_i);
        return false;
    }
    void skip()
    {
        while (m_i < m_s.size() &&
               (m_s[m_i] == ' ' || m_s[m_i] == '\n' || m_s[m_i] == '\r' || m_s[m_i] == '\t'))
            ++m_i;
    }
    bool literal(std::string_view word)
    {
        if (m_s.substr(m_i, word.size()) != word)
            return false;
        m_i += word.size();
        return true;
    }
    bool number(JsonValue &out)
    {
        const size_t start = m_i;
        while (m_i < m_s.size() &&
               std::string_view("+-0123456789.eE").find(m_s[m_i]) != std::string_view::npos)
            ++m_i;
        if (m_i == start)
            return fail("unexpected character");
        out.type = JsonValue::Type::Number;
        out.number = std::strtod(std::string(m_s.substr(start, m_i - start)).c_str(), nullptr);
        return true;
    }
    static void appendUtf8(std::string &out, unsigned cp)
    {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    bool hex4(unsigned &out)
    {
        if (m_i + 4 > m_s.size())
            return fail("short escape");
        out = static_cast<unsigned>(std::strtoul(std::string(m_s.substr(m_i, 4)).c_str(), nullptr, 16));
        m_i += 4;
        return true;
    }
    bool string(std::string &out)
    {
        ++m_i; // opening quote
        while (m_i < m_s.size()) {
            const char c = m_s[m_i++];
            if (c == '"')
                return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_i >= m_s.size())
                break;
            const char e = m_s[m_i++];
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'u': {
                unsigned cp = 0;
                if (!hex4(cp))
                    return false;
                if (cp >= 0xD800 && cp < 0xDC00 && m_s.substr(m_i, 2) == "\\u") {
                    m_i += 2;
                    unsigned low = 0;
                    if (!hex4(low))
                        return false;
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUtf8(out, cp);
                break;
            }
            default:
                out += e;
            }
        }
        return fail("unterminated string");
    }
    bool array(JsonValue &out)
    {
        out.type = JsonValue::Type::Array;
        ++m_i;
        skip();
        if (m_i < m_s.size() && m_s[m_i] == ']') {
            ++m_i;
            return true;
        }
        for (;;) {
            JsonValue v;
            if (!value(v))
                return false;
            out.array.push_back(std::move(v));
            skip();
            if (m_i < m_s.size() && m_s[m_i] == ',') {
                ++m_i;
                continue;
            }
            if (m_i < m_s.size() && m_s[m_i] == ']') {
                ++m_i;
                return true;
            }
            return fail("expected , or ]");
        }
    }
    bool object(JsonValue &out)
    {
        out.type = JsonValue::Type::Object;
        ++m_i;
        skip();
        if (m_i < m_s.size() && m_s[m_i] == '}') {
            ++m_i;
            return true;
        }
        for (;;) {
            skip();
            if (m_i >= m_s.size() || m_s[m_i] != '"')
                return fail("expected a key");
            std::string key;
            if (!string(key))
                return false;
            skip();
            if (m_i >= m_s.size() || m_s[m_i] != ':')
                return fail("expected :");
            ++m_i;
            JsonValue v;
            if (!value(v))
                return false;
            out.object.emplace_back(std::move(key), std::move(v));
            skip();
            if (m_i < m_s.size() && m_s[m_i] == ',') {
                ++m_i;
                continue;
            }
            if (m_i < m_s.size() && m_s[m_i] == '}') {
                ++m_i;
                return true;
            }
            return fail("expected , or }");
        }
    }
};

bool readFile(const std::string &path, std::string &out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

} // namespace

const JsonValue *JsonValue::get(std::string_view key) const
{
    for (const auto &member : object)
        if (member.first == key)
            return &member.second;
    return nullptr;
}

std::string JsonValue::text(std::string_view key) const
{
    const JsonValue *v = get(key);
    return v && v->type == Type::String ? v->string : std::string();
}

bool parseJson(std::string_view text, JsonValue &out, std::string &error)
{
    JsonReader reader(text);
    out = JsonValue();
    if (!reader.value(out) || !reader.atEnd()) {
        error = reader.error.empty() ? "trailing text" : reader.error;
        return false;
    }
    return true;
}

std::string utf8ToCp1252(std::string_view text)
{
    // Code points of the bytes 0x80..0x9F (0 where the code page has no character).
    static const unsigned high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned cp = c;
        size_t len = 1;
        if (c >= 0xF0 && i + 3 < text.size()) {
            cp = ((c & 0x07u) << 18) | ((text[i + 1] & 0x3Fu) << 12) | ((text[i + 2] & 0x3Fu) << 6) |
                 (text[i + 3] & 0x3Fu);
            len = 4;
        } else if (c >= 0xE0 && i + 2 < text.size()) {
            cp = ((c & 0x0Fu) << 12) | ((text[i + 1] & 0x3Fu) << 6) | (text[i + 2] & 0x3Fu);
            len = 3;
        } else if (c >= 0xC0 && i + 1 < text.size()) {
            cp = ((c & 0x1Fu) << 6) | (text[i + 1] & 0x3Fu);
            len = 2;
        }
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = '?';
        for (unsigned k = 0; k < 32; ++k)
            if (high[k] == cp || (high[k] == 0 && cp == 0x80 + k))
                mapped = static_cast<char>(0x80 + k);
        out += mapped;
    }
    return out;
}

std::string buildRecord(const Schema &schema, const std::map<std::string, std::string> &values, bool marked)
{
    std::string rec(schema.recordLength(), ' ');
    rec[0] = marked ? '*' : ' ';
    for (const FieldDescriptor &f : schema.fields()) {
        auto it = values.find(f.name);
        if (it == values.end())
            continue;
        std::string v = it->second;
        if (f.type == 'N' && v.size() < f.length)
            v = std::string(f.length - v.size(), ' ') + v; // numbers are right-aligned
        v.resize(f.length, ' ');
        rec.replace(f.offset, f.length, v);
    }
    return rec;
}

bool FixtureTable::load(const std::string &name, FixtureTable &out, std::string &error)
{
    const std::string base = std::string(CORVANTIS_SHARED_DIR) + "/fixtures/xbase/" + name;
    std::string text;
    if (!readFile(base + ".expected.json", text)) {
        error = "cannot read " + base + ".expected.json";
        return false;
    }
    if (!parseJson(text, out.expected, error))
        return false;
    std::vector<FieldDescriptor> fields;
    if (const JsonValue *structure = out.expected.get("structure"))
        for (const JsonValue &f : structure->array) {
            FieldDescriptor d;
            d.name = f.text("name");
            d.type = f.text("type").empty() ? 'C' : f.text("type")[0];
            d.length = static_cast<uint8_t>(f.get("len")->number);
            d.decimals = static_cast<uint8_t>(f.get("dec")->number);
            fields.push_back(d);
        }
    out.schema = Schema(fields);
    if (!readFile(base + ".records.jsonl", text)) {
        error = "cannot read " + base + ".records.jsonl";
        return false;
    }
    out.records.clear();
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty())
            continue;
        JsonValue r;
        if (!parseJson(line, r, error))
            return false;
        std::map<std::string, std::string> values;
        for (const FieldDescriptor &f : out.schema.fields()) {
            const JsonValue *v = r.get(f.name);
            if (!v)
                continue;
            if (f.type == 'L')
                values[f.name] = v->boolean ? "T" : "F";
            else if (f.type == 'M')
                values[f.name] = v->string.empty() ? "" : "         1";
            else if (v->type == JsonValue::Type::Number)
                values[f.name] = std::to_string(v->number);
            else
                values[f.name] = utf8ToCp1252(v->string);
        }
        const JsonValue *deleted = r.get("deleted");
        out.records.push_back(buildRecord(out.schema, values, deleted && deleted->boolean));
    }
    return true;
}

} // namespace xbase::test
