// Builds an address file of 200,000 generated records and prints how long each of the
// engine's heavy operations takes, beside the figure it must meet.
#include "AddressGenerator.h"
#include "Table.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
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

double g_cpuStart = 0;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
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

int g_failures = 0;

void report(const char *what, double seconds, double limit)
{
    const double cpu = cpuSeconds() - g_cpuStart;
    const bool ok = seconds <= limit;
    if (!ok)
        ++g_failures;
    std::printf("%-40s %8.1f ms  cpu %8.1f ms  (limit %7.1f ms) %s\n", what, seconds * 1000, cpu * 1000,
                limit * 1000, ok ? "ok" : "SLOW");
    std::fflush(stdout);
}

void must(const Status &s, const char *what)
{
    if (!s.ok()) {
        std::fprintf(stderr, "%s: %s\n", what, s.message().c_str());
        std::exit(1);
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
    std::printf("%-40s %8.1f MB                   (limit    20.0 MB) %s\n", "memory of the open file",
                used / 1024.0, ok ? "ok" : "TOO MUCH");
    return ok ? 0 : 1;
}

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--memory")
        return measureMemory(argv[2]);
    // Arguments: [record count] [--keep] (keep the files for a look with corvantis-db).
    const uint32_t count = argc > 1 && argv[1][0] != '-' ? static_cast<uint32_t>(std::atoi(argv[1])) : 200000;
    const bool keep = std::string(argv[argc - 1]) == "--keep";
    char pattern[] = "/tmp/corvantis-bench-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    const std::string dir = pattern;
    const std::string path = dir + "/ADD0001.DBF";
    std::printf("%u generated address records, 23 fields, 26 tags, in %s\n", count, dir.c_str());

    AddressGenerator gen;
    std::vector<AddressRecord> records;
    records.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        records.push_back(gen.next());

    Table t;
    auto start = Clock::now();
    g_cpuStart = cpuSeconds();
    must(Table::create(path, AddressGenerator::fields()), "create");
    must(t.open(path, OpenMode::Exclusive), "open");
    for (const AddressRecord &r : records) {
        must(t.appendBlank(), "append");
        for (int f = 0; f < 23; ++f)
            if (!r.values[static_cast<size_t>(f)].empty())
                must(t.setFieldValue(f, r.values[static_cast<size_t>(f)]), "set field");
        must(t.post(), "post");
    }
    report("create and append", secondsSince(start), 1.0);

    start = Clock::now();

    g_cpuStart = cpuSeconds();
    must(t.addTags(AddressGenerator::tags()), "tags");
    report("build the 26 tags", secondsSince(start), 1.0);

    uint64_t n = 0;
    start = Clock::now();
    g_cpuStart = cpuSeconds();
    must(t.setQuery("UPPER(LNAME)=\"SM\".and. !ISDEL"), "query");
    must(t.queryCount(n), "count");
    report("count UPPER(LNAME)=\"SM\".and. !ISDEL", secondsSince(start), 0.005);
    std::printf("%-44s %9llu\n", "  matching", static_cast<unsigned long long>(n));

    start = Clock::now();

    g_cpuStart = cpuSeconds();
    must(t.setQuery("\"C\"$UPPER(CODES).and. !ISDEL"), "query");
    must(t.queryCount(n), "count");
    report("count \"C\"$UPPER(CODES).and. !ISDEL", secondsSince(start), 0.150);
    std::printf("%-44s %9llu\n", "  matching", static_cast<unsigned long long>(n));
    must(t.setQuery(""), "lift");

    AddressGenerator keys(7);
    std::vector<std::string> seekKeys;
    for (int i = 0; i < 10000; ++i) {
        std::string k = keys.lastName();
        for (char &c : k)
            c = static_cast<char>(upperCp1252(static_cast<unsigned char>(c)));
        seekKeys.push_back(k);
    }
    must(t.setOrder("LNAME"), "order");
    int found = 0;
    start = Clock::now();
    g_cpuStart = cpuSeconds();
    for (const std::string &k : seekKeys) {
        bool f = false;
        must(t.seek(k, f), "seek");
        found += f;
    }
    report("10,000 seeks on LNAME", secondsSince(start), 0.050);
    std::printf("%-44s %9d\n", "  found", found);

    must(t.setOrder(0), "order");
    start = Clock::now();
    g_cpuStart = cpuSeconds();
    for (uint32_t r = 5; r <= count; r += 10) {
        must(t.go(r), "go");
        must(t.setLogical("ISDEL", true), "isdel");
        must(t.deleteRecord(), "delete");
    }
    report("mark 10 % deleted with the tags open", secondsSince(start), 0.5);

    start = Clock::now();

    g_cpuStart = cpuSeconds();
    must(t.pack(), "pack");
    report("pack", secondsSince(start), 1.5);
    must(t.close(), "close");

    // Memory of an open file, measured in a fresh process: what opening it, walking an order
    // and counting a query add to that process.
    records.clear();
    records.shrink_to_fit();
    const std::string command = std::string("'") + argv[0] + "' --memory '" + path + "'";
    if (std::system(command.c_str()) != 0)
        ++g_failures;
    if (!keep)
        std::filesystem::remove_all(dir);
    return g_failures == 0 ? 0 : 1;
}
