#include "DbTool.h"

#include "Cp1252.h"
#include "Table.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <sstream>

namespace dbtool {

using xbase::Cp1252;
using xbase::OpenMode;
using xbase::Status;
using xbase::Table;

namespace {

// Lower-case ASCII, as names on disk are compared.
std::string folded(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// `path` as it is on disk: a part that does not exist as written is matched against its
// folder's entries ignoring case (the first in sorted order). From the first part that
// matches nothing on, the parts are kept as given.
std::string onDisk(const std::string &path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec))
        return path;
    const fs::path given(path);
    fs::path found = given.root_path();
    bool matching = true;
    for (const fs::path &part : given.relative_path()) {
        const fs::path next = found / part;
        if (!matching || fs::exists(next, ec) || part == "." || part == "..") {
            found = next;
            continue;
        }
        std::string best;
        const std::string want = folded(part.string());
        for (fs::directory_iterator it(found.empty() ? fs::path(".") : found, ec), end; !ec && it != end;
             it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (folded(name) == want && (best.empty() || name < best))
                best = name;
        }
        matching = !best.empty();
        found /= matching ? fs::path(best) : part;
    }
    return found.string();
}

struct Command {
    std::string name;
    std::vector<std::string> positional;
    bool deleted = false;
    bool soft = false;
    bool exact = false;
    bool csv = false;
};

// A bar of 40 cells redrawn in place on a terminal.
class ProgressBar : public xbase::ProgressHook
{
public:
    explicit ProgressBar(std::ostream &err) : m_err(err) {}
    ~ProgressBar() override
    {
        if (m_drawn)
            m_err << '\n';
    }
    bool report(int percent) override
    {
        const int cells = percent * 40 / 100;
        m_err << "\r[" << std::string(static_cast<size_t>(cells), '#')
              << std::string(static_cast<size_t>(40 - cells), ' ') << "] " << std::setw(3) << percent << '%'
              << std::flush;
        m_drawn = true;
        return true;
    }

private:
    std::ostream &m_err;
    bool m_drawn = false;
};

int fail(std::ostream &err, const Status &s)
{
    err << "corvantis-db: " << s.message() << '\n';
    return kFailure;
}

int badUse(std::ostream &err, const std::string &why)
{
    err << "corvantis-db: " << why << "\n\n" << usage();
    return kBadUse;
}

std::string hex2(unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
    return buf;
}

std::string csvQuote(const std::string &s)
{
    if (s.find_first_of(",\"\r\n") == std::string::npos &&
        (s.empty() || (s.front() != ' ' && s.back() != ' ')))
        return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"')
            q += '"';
        q += c;
    }
    return q + "\"";
}

std::string escapeLine(const std::string &s)
{
    std::string o;
    for (char c : s) {
        if (c == '\r')
            o += "\\r";
        else if (c == '\n')
            o += "\\n";
        else if (c == '\t')
            o += "\\t";
        else if (c == '\\')
            o += "\\\\";
        else
            o += c;
    }
    return o;
}

int info(Table &t, std::ostream &out)
{
    const xbase::TableInfo d = t.info();
    out << "File: " << Cp1252::toUtf8(t.path()) << '\n';
    out << "Version: " << hex2(d.version) << '\n';
    out << "Records: " << d.records << '\n';
    if (d.claimedRecords != d.records)
        out << "Records claimed by the header: " << d.claimedRecords << '\n';
    const auto date = d.lastUpdate;
    out << "Last update: " << 1900 + date[0] << '-' << std::setw(2) << std::setfill('0') << int(date[1])
        << '-' << std::setw(2) << int(date[2]) << std::setfill(' ') << '\n';
    out << "Header length: " << d.headerLength << '\n';
    out << "Record length: " << d.recordLength << '\n';
    out << "Code page: " << int(d.codePageMark);
    if (d.codePage != 0)
        out << " (" << d.codePage << ')';
    out << '\n';
    if (!d.memoPath.empty())
        out << "Memo file: " << Cp1252::toUtf8(d.memoPath) << " (" << (d.memoIsDbt ? "dBase, " : "")
            << "block size " << d.memoBlockSize << ", next free block " << d.memoNextFree << ")\n";
    out << "Fields: " << t.schema().fieldCount() << '\n';
    for (const xbase::FieldDescriptor &f : t.schema().fields())
        out << "  " << std::left << std::setw(10) << f.name << std::right << ' ' << f.type << ' '
            << std::setw(3) << int(f.length) << ' ' << int(f.decimals) << '\n';
    if (!t.indexError().empty()) {
        out << "Index: damaged: " << Cp1252::toUtf8(t.indexError()) << '\n';
        return kOk;
    }
    if (!t.hasIndexFile()) {
        out << "Index: none\n";
        return kOk;
    }
    out << "Index: " << Cp1252::toUtf8(d.indexPath)
        << (t.indexNeedsRebuild() ? " (interrupted update: reindex)" : "") << '\n';
    out << "Tags: " << t.tagCount() << '\n';
    for (int i = 1; i <= t.tagCount(); ++i) {
        const xbase::TagSpec s = t.tagSpec(i);
        out << "  " << std::setw(2) << i << ' ' << std::left << std::setw(10) << s.name << std::right << ' '
            << Cp1252::toUtf8(s.keyExpr);
        if (!s.forExpr.empty())
            out << " FOR " << Cp1252::toUtf8(s.forExpr);
        out << '\n';
    }
    return kOk;
}

int dump(Table &t, bool csv, std::ostream &out, std::ostream &err)
{
    const xbase::Schema &schema = t.schema();
    if (csv) {
        out << "RECNO,DELETED";
        for (const xbase::FieldDescriptor &f : schema.fields())
            out << ',' << f.name;
        out << "\r\n";
    }
    Status s = t.goTop();
    for (; s.ok() && !t.eof(); s = t.skip(1)) {
        out << t.recno() << (csv ? "," : "\t") << (t.isDeleted() ? "*" : (csv ? "" : " "));
        for (int i = 0; i < schema.fieldCount(); ++i) {
            std::string v;
            const Status fs = t.fieldValue(i, v);
            if (!fs.ok())
                return fail(err,
                            Status(fs.code(), "record " + std::to_string(t.recno()) + ": " + fs.message()));
            v = Cp1252::toUtf8(v);
            if (csv)
                out << ',' << csvQuote(v);
            else
                out << '\t' << schema.field(i).name << '=' << escapeLine(v);
        }
        out << (csv ? "\r\n" : "\n");
    }
    return s.ok() ? kOk : fail(err, s);
}

bool parseRecno(const std::string &text, uint32_t &out)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
    if (v == 0 || v > 0xFFFFFFFFull)
        return false;
    out = static_cast<uint32_t>(v);
    return true;
}

} // namespace

std::string usage()
{
    return "Usage: corvantis-db COMMAND FILE [ARGUMENTS] [OPTIONS]\n"
           "  info FILE                         fields, record count, tags\n"
           "  order FILE TAG [--deleted]        record numbers in the tag's order\n"
           "  count FILE EXPR [--deleted]       records for which the expression holds\n"
           "  seek FILE TAG KEY [--soft] [--exact] [--deleted]\n"
           "                                    record number the seek lands on\n"
           "  memo FILE RECNO                   the memo text of a record\n"
           "  dump FILE [--csv]                 every record\n"
           "  check FILE                        verify header, memo pointers and tags (notes\n"
           "                                    on sound files do not fail the check)\n"
           "  reindex FILE                      rebuild every tag\n"
           "  pack FILE                         remove marked records for good\n"
           "  create FILE                       a new address file (23 fields, 26 tags)\n"
           "  import FILE SOURCE [--match auto|MAP.json] [--into-new]\n"
           "                                    append the records of a text, DBF or vCard\n"
           "                                    file, recognised by its content\n"
           "  export FILE OUT [--csv|--dbf|--vcard] [--filter FILE.FLT|--tagged|--all]\n"
           "                                    copy the visible records out, by last name\n"
           "Marked records are hidden unless --deleted is given. Exit status: 0 success,\n"
           "1 failure, 2 bad use.\n";
}

int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool progressBar)
{
    if (args.empty())
        return badUse(err, "no command given");
    Command c;
    c.name = args[0];
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--deleted")
            c.deleted = true;
        else if (a == "--soft")
            c.soft = true;
        else if (a == "--exact")
            c.exact = true;
        else if (a == "--csv")
            c.csv = true;
        else if (a == "--")
            c.positional.insert(c.positional.end(), args.begin() + static_cast<long>(i) + 1, args.end()),
                i = args.size();
        else if (a.size() > 2 && a.compare(0, 2, "--") == 0)
            return badUse(err, "unknown option " + a);
        else
            c.positional.push_back(a);
    }
    struct Shape {
        const char *name;
        size_t positional;
        bool deleted, soft, exact, csv;
    };
    static const Shape shapes[] = {
        {"info", 1, false, false, false, false},  {"order", 2, true, false, false, false},
        {"count", 2, true, false, false, false},  {"seek", 3, true, true, true, false},
        {"memo", 2, false, false, false, false},  {"dump", 1, true, false, false, true},
        {"check", 1, false, false, false, false}, {"reindex", 1, false, false, false, false},
        {"pack", 1, false, false, false, false},
    };
    const Shape *shape = nullptr;
    for (const Shape &s : shapes)
        if (c.name == s.name)
            shape = &s;
    if (!shape)
        return badUse(err, "unknown command " + c.name);
    if (c.positional.size() != shape->positional)
        return badUse(err, c.name + " takes " + std::to_string(shape->positional) + " argument(s)");
    if ((c.deleted && !shape->deleted) || (c.soft && !shape->soft) || (c.exact && !shape->exact) ||
        (c.csv && !shape->csv))
        return badUse(err, "option not allowed with " + c.name);

    const std::string file = onDisk(c.positional[0]);
    const bool writes = c.name == "reindex" || c.name == "pack";
    Table t;
    Status s = t.open(file, writes ? OpenMode::Exclusive : OpenMode::ReadOnly);
    if (!s.ok()) {
        if (c.name == "check") {
            out << s.message() << '\n';
            return kFailure;
        }
        return fail(err, s);
    }
    t.setDeletedHidden(!c.deleted);
    t.setTurboRead(!writes); // whole-file passes

    if (c.name == "info")
        return info(t, out);
    if (c.name == "order") {
        const std::string tag = Cp1252::fromUtf8(c.positional[1]);
        s = t.setOrder(tag);
        if (!s.ok())
            return fail(err, s);
        std::ostringstream lines;
        for (s = t.goTop(); s.ok() && !t.eof(); s = t.skip(1))
            lines << t.recno() << '\n';
        if (!s.ok())
            return fail(err, s);
        out << lines.str();
        return kOk;
    }
    if (c.name == "count") {
        s = t.setQuery(Cp1252::fromUtf8(c.positional[1]));
        uint64_t n = 0;
        if (s.ok())
            s = t.queryCount(n);
        if (!s.ok())
            return fail(err, s);
        out << n << '\n';
        return kOk;
    }
    if (c.name == "seek") {
        s = t.setOrder(Cp1252::fromUtf8(c.positional[1]));
        if (!s.ok())
            return fail(err, s);
        t.setSoftSeek(c.soft);
        t.setExact(c.exact);
        bool found = false;
        s = t.seek(Cp1252::fromUtf8(c.positional[2]), found);
        if (!s.ok())
            return fail(err, s);
        if (found)
            out << t.recno() << '\n';
        else if (c.soft)
            out << (t.eof() ? std::string("eof") : std::to_string(t.recno())) << '\n';
        else
            out << "not found\n";
        return kOk;
    }
    if (c.name == "memo") {
        uint32_t recno = 0;
        if (!parseRecno(c.positional[1], recno))
            return badUse(err, "invalid record number " + c.positional[1]);
        if (recno > t.recordCount())
            return fail(err, Status::NotFound("Record " + c.positional[1] + " does not exist"));
        int field = t.schema().indexOf("MEMO");
        for (int i = 0; field < 0 && i < t.schema().fieldCount(); ++i)
            if (t.schema().field(i).type == 'M')
                field = i;
        if (field < 0 || t.schema().field(field).type != 'M')
            return fail(err, Status::NotFound("The table has no memo field"));
        std::string text;
        s = t.go(recno);
        if (s.ok())
            s = t.fieldValue(field, text);
        if (!s.ok())
            return fail(err, s);
        out << Cp1252::toUtf8(text);
        if (!text.empty() && text.back() != '\n')
            out << '\n';
        return kOk;
    }
    if (c.name == "dump")
        return dump(t, c.csv, out, err);
    if (c.name == "check") {
        xbase::CheckReport report;
        s = t.check(report);
        if (!s.ok())
            report.faults.push_back(s.message());
        for (const std::string &f : report.faults)
            out << Cp1252::toUtf8(f) << '\n';
        // Notes describe a sound file: they do not make the check fail.
        for (const std::string &n : report.notes)
            out << "Note: " << Cp1252::toUtf8(n) << '\n';
        return report.faults.empty() ? kOk : kFailure;
    }
    ProgressBar bar(err);
    xbase::ProgressHook *hook = progressBar ? &bar : nullptr;
    s = c.name == "pack" ? t.pack(hook) : t.reindex(hook);
    if (s.ok())
        s = t.close();
    return s.ok() ? kOk : fail(err, s);
}

} // namespace dbtool
