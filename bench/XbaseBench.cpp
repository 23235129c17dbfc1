// Builds an address file of 200,000 generated records and times the engine's heavy operations
// on it, beside the figure each must meet, in several runs (five by default) on fresh files.
// The data is an address book as kept: every field filled, memos in 45 of 100 records, 6 in
// 100 marked deleted (5 with ISDEL set).
#include "AddressGenerator.h"
#include "Table.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

using namespace xbase;

namespace {

using Clock = std::chrono::steady_clock;

// CPU time of this process (user and system), which other programs on the machine do not
// inflate the way they inflate the wall-clock time.
double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Resident memory of this process in kilobytes.
long residentKb()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 6, "VmRSS:") == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

void must(const Status &s, const char *what)
{
    if (!s.ok()) {
        std::fprintf(stderr, "%s: %s\n", what, s.message().c_str());
        std::exit(1);
    }
}

// One timed step: wall-clock and CPU milliseconds.
class Timer
{
public:
    Timer() : m_wall(Clock::now()), m_cpu(cpuSeconds()) {}
    double wallMs() const { return std::chrono::duration<double>(Clock::now() - m_wall).count() * 1000; }
    double cpuMs() const { return (cpuSeconds() - m_cpu) * 1000; }

private:
    Clock::time_point m_wall;
    double m_cpu;
};

struct Figure {
    const char *what;
    double limitMs;
    std::vector<double> wallMs;
    std::vector<double> cpuMs;
};

// The figures in the order they are measured, each with its limit.
std::vector<Figure> g_figures = {
    {"create and append, closed", 335, {}, {}},
    {"build the 26 tags", 565, {}, {}},
    {"count UPPER(LNAME)=\"SM\".and. !ISDEL", 5, {}, {}},
    {"count \"C\"$UPPER(CODES).and. !ISDEL", 42, {}, {}},
    {"10,000 seeks on the full LNAME key", 14, {}, {}},
    {"mark 10 % deleted with the tags open", 195, {}, {}},
    {"pack, memo file compacted", 675, {}, {}},
};

void report(size_t figure, const Timer &t, const std::string &note = {})
{
    Figure &f = g_figures[figure];
    const double wall = t.wallMs();
    const double cpu = t.cpuMs();
    f.wallMs.push_back(wall);
    f.cpuMs.push_back(cpu);
    std::printf("  %-40s %8.1f ms  cpu %8.1f ms  (limit %6.1f ms) %s%s\n", f.what, wall, cpu, f.limitMs,
                wall <= f.limitMs ? "ok" : "SLOW", note.c_str());
    std::fflush(stdout);
}

uint64_t fileSize(const std::string &path)
{
    std::error_code ec;
    const auto n = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<uint64_t>(n);
}

std::string upperPadded(const std::string &s, size_t width)
{
    std::string out = s.substr(0, width);
    out.resize(width, ' ');
    for (char &c : out)
        c = static_cast<char>(upperCp1252(static_cast<unsigned char>(c)));
    return out;
}

// One run of every step on a fresh file in `dir`.
void runOnce(const std::string &dir, const std::vector<AddressRecord> &records, const std::string &keep)
{
    const std::string path = dir + "/ADD0001.DBF";
    const uint32_t count = static_cast<uint32_t>(records.size());
    {
        Timer t;
        Table table;
        must(Table::create(path, AddressGenerator::fields()), "create");
        must(table.open(path, OpenMode::Exclusive), "open");
        for (const AddressRecord &r : records)
            must(r.post(table), "append");
        must(table.close(), "close");
        report(0, t);
    }
    Table table;
    must(table.open(path, OpenMode::Exclusive), "open");
    {
        Timer t;
        must(table.addTags(AddressGenerator::tags()), "tags");
        report(1, t);
    }
    uint64_t n = 0;
    {
        Timer t;
        must(table.setQuery("UPPER(LNAME)=\"SM\".and. !ISDEL"), "query");
        must(table.queryCount(n), "count");
        report(2, t, "  " + std::to_string(n) + " match");
    }
    {
        Timer t;
        must(table.setQuery("\"C\"$UPPER(CODES).and. !ISDEL"), "query");
        must(table.queryCount(n), "count");
        report(3, t, "  " + std::to_string(n) + " match");
    }
    must(table.setQuery(""), "lift");

    // The keys of random records, as the duplicate-name test builds them: the padded last
    // name and first name, both upper case.
    std::vector<std::string> keys;
    uint64_t pickState = 12345;
    for (int i = 0; i < 10000; ++i) {
        pickState = pickState * 6364136223846793005ull + 1442695040888963407ull;
        const AddressRecord &r = records[static_cast<size_t>((pickState >> 33) % count)];
        keys.push_back(upperPadded(r.values[0], 30) + upperPadded(r.values[1], 30));
    }
    must(table.setOrder("LNAME"), "order");
    {
        int found = 0;
        Timer t;
        for (const std::string &k : keys) {
            bool f = false;
            must(table.seek(k, f), "seek");
            found += f;
        }
        report(4, t, "  " + std::to_string(found) + " found");
    }
    must(table.setOrder(0), "order");
    {
        Timer t;
        for (uint32_t r = 5; r <= count; r += 10) {
            must(table.go(r), "go");
            must(table.setLogical("ISDEL", true), "isdel");
            must(table.deleteRecord(), "delete");
        }
        report(5, t);
    }
    must(table.flush(), "flush");
    const uint64_t memoBefore = fileSize(dir + "/ADD0001.FPT");
    {
        Timer t;
        must(table.pack(), "pack");
        char note[96];
        std::snprintf(note, sizeof note, "  %u kept, memo file %.1f MB to %.1f MB", table.recordCount(),
                      static_cast<double>(memoBefore) / 1e6,
                      static_cast<double>(fileSize(dir + "/ADD0001.FPT")) / 1e6);
        report(6, t, note);
    }
    must(table.close(), "close");
    if (!keep.empty()) {
        std::filesystem::remove_all(keep);
        std::filesystem::rename(dir, keep);
    }
}

} // namespace

// The --memory mode: opens `path`, walks, queries, and prints the resident memory it added.
int measureMemory(const std::string &path)
{
    const long before = residentKb();
    Table open;
    must(open.open(path, OpenMode::Exclusive), "open");
    must(open.setOrder("LNAME"), "order");
    must(open.goTop(), "top");
    for (int i = 0; i < 1000; ++i)
        must(open.skip(1), "skip");
    uint64_t n = 0;
    must(open.setQuery("\"C\"$UPPER(CODES).and. !ISDEL"), "query");
    must(open.queryCount(n), "count");
    must(open.setQuery("UPPER(LNAME)=\"SM\".and. !ISDEL"), "query");
    must(open.queryCount(n), "count");
    const long used = residentKb() - before;
    const bool ok = used < 20 * 1024;
    std::printf("%-42s %8.1f MB                   (limit   20.0 MB) %s\n", "memory of the open file",
                used / 1024.0, ok ? "ok" : "TOO MUCH");
    return ok ? 0 : 1;
}

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--memory")
        return measureMemory(argv[2]);
    // Arguments: [record count] [--runs N] [--keep DIR] (keep the last run's files for a look
    // with corvantis-db).
    uint32_t count = 200000;
    int runs = 5;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--keep" && i + 1 < argc)
            keep = argv[++i];
        else
            count = static_cast<uint32_t>(std::atoi(a.c_str()));
    }
    std::printf("%u generated address records, 23 fields, 26 tags, %d runs\n", count, runs);
    AddressGenerator gen;
    std::vector<AddressRecord> records;
    records.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        records.push_back(gen.next());

    std::string lastDir;
    for (int run = 1; run <= runs; ++run) {
        char pattern[] = "/tmp/corvantis-bench-XXXXXX";
        if (!::mkdtemp(pattern))
            return 1;
        std::printf("run %d in %s\n", run, pattern);
        runOnce(pattern, records, run == runs ? keep : std::string());
        if (run == runs && keep.empty())
            lastDir = pattern;
        else if (run != runs)
            std::filesystem::remove_all(pattern);
    }

    // Each figure of every run, wall-clock and CPU time (other programs on a shared machine
    // inflate the first far more than the second).
    int failures = 0;
    std::printf("\n%-42s %s\n", "figure (limit)", "ms of each run: wall-clock / CPU");
    for (const Figure &f : g_figures) {
        std::string line;
        bool ok = true;
        for (size_t i = 0; i < f.wallMs.size(); ++i) {
            char cell[32];
            std::snprintf(cell, sizeof cell, " %7.1f/%-7.1f", f.wallMs[i], f.cpuMs[i]);
            line += cell;
            ok = ok && f.wallMs[i] <= f.limitMs;
        }
        char name[64];
        std::snprintf(name, sizeof name, "%s (%.0f)", f.what, f.limitMs);
        std::printf("%-42s%s  %s\n", name, line.c_str(), ok ? "ok" : "SLOW");
        failures += ok ? 0 : 1;
    }
    // Memory of an open file, measured in a fresh process: what opening it, walking an order
    // and counting a query add to that process.
    const std::string file = (keep.empty() ? lastDir : keep) + "/ADD0001.DBF";
    records.clear();
    records.shrink_to_fit();
    const std::string command = std::string("'") + argv[0] + "' --memory '" + file + "'";
    if (std::system(command.c_str()) != 0)
        ++failures;
    if (keep.empty())
        std::filesystem::remove_all(lastDir);
    return failures == 0 ? 0 : 1;
}
