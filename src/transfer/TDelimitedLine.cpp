#include "TDelimitedLine.h"

#include "TCp1252.h"

namespace {

// Reads the field that starts at `pos` into `out` and returns the position of the comma that
// ends it (or line.size()).
size_t readField(std::string_view line, size_t pos, std::string &out)
{
    out.clear();
    const size_t n = line.size();
    if (pos < n && line[pos] == '"') {
        size_t i = pos + 1;
        while (i < n) {
            // The text up to the next quote is taken as it is.
            const size_t quote = line.find('"', i);
            if (quote == std::string_view::npos)
                break;
            out.append(line.data() + i, quote - i);
            i = quote;
            if (i + 1 < n && line[i + 1] == '"') {
                out.push_back('"');
                i += 2;
                continue;
            }
            if (i + 1 == n || line[i + 1] == ',')
                return i + 1;
            out.push_back('"');
            ++i;
        }
        // Never closed: the field is read as it stands.
        out.clear();
    }
    size_t end = line.find(',', pos);
    if (end == std::string_view::npos)
        end = n;
    out.assign(line.data() + pos, end - pos);
    return end;
}

} // namespace

int TDelimitedLine::split(std::string_view line, std::vector<std::string> &fields, int maxFields)
{
    size_t pos = 0;
    int count = 0;
    std::string spill;
    for (;;) {
        std::string &target = count < maxFields ? (static_cast<size_t>(count) < fields.size()
                                                         ? fields[static_cast<size_t>(count)]
                                                         : fields.emplace_back())
                                                : spill;
        const size_t end = readField(line, pos, target);
        ++count;
        if (end >= line.size())
            break;
        pos = end + 1; // past the comma
        if (pos == line.size()) {
            // A trailing comma ends the line with an empty field.
            if (count < maxFields) {
                if (static_cast<size_t>(count) < fields.size())
                    fields[static_cast<size_t>(count)].clear();
                else
                    fields.emplace_back();
            }
            ++count;
            break;
        }
    }
    fields.resize(static_cast<size_t>(std::min(count, maxFields)));
    return count;
}

QStringList TDelimitedLine::split(const QString &line, int maxFields)
{
    const QByteArray bytes = TCp1252::fromString(line);
    std::vector<std::string> parts;
    split(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), parts, maxFields);
    QStringList out;
    out.reserve(static_cast<qsizetype>(parts.size()));
    for (const std::string &p : parts)
        out.append(TCp1252::toString(p.data(), static_cast<qsizetype>(p.size())));
    return out;
}

void TDelimitedLine::appendQuoted(std::string &out, std::string_view value)
{
    out.push_back('"');
    size_t from = 0;
    for (size_t quote = value.find('"'); quote != std::string_view::npos; quote = value.find('"', from)) {
        out.append(value.data() + from, quote + 1 - from);
        out.push_back('"');
        from = quote + 1;
    }
    out.append(value.data() + from, value.size() - from);
    out.push_back('"');
}
