#include "AddressGenerator.h"

#include <chrono>
#include <cstdio>
#include <iterator>

xbase::Status AddressRecord::post(xbase::Table &table) const
{
    XBASE_TRY(table.appendBlank());
    for (int f = 0; f < static_cast<int>(values.size()); ++f)
        if (!values[static_cast<size_t>(f)].empty())
            XBASE_TRY(table.setFieldValue(f, values[static_cast<size_t>(f)]));
    XBASE_TRY(table.post());
    return marked ? table.deleteRecord() : xbase::Status::Ok();
}

namespace {

const char *const kLast[] = {
    "Smith",     "Johnson",   "Williams",     "Brown",       "Jones",       "Garcia",   "Miller",
    "Davis",     "Rodriguez", "Martinez",     "Hernandez",   "Lopez",       "Gonzalez", "Wilson",
    "Anderson",  "Thomas",    "Taylor",       "Moore",       "Jackson",     "Martin",   "Lee",
    "Perez",     "Thompson",  "White",        "Harris",      "Sanchez",     "Clark",    "Ramirez",
    "Lewis",     "Robinson",  "Walker",       "Young",       "Allen",       "King",     "Wright",
    "Scott",     "Torres",    "Nguyen",       "Hill",        "Flores",      "Green",    "Adams",
    "Nelson",    "Baker",     "Hall",         "Rivera",      "Campbell",    "Mitchell", "Carter",
    "Roberts",   "Gomez",     "Phillips",     "Evans",       "Turner",      "Diaz",     "Parker",
    "Cruz",      "Edwards",   "Collins",      "Reyes",       "Stewart",     "Morris",   "Morales",
    "Murphy",    "Cook",      "Rogers",       "Gutierrez",   "Ortiz",       "Morgan",   "Cooper",
    "Peterson",  "Bailey",    "Reed",         "Kelly",       "Howard",      "Ramos",    "Kim",
    "Cox",       "Ward",      "Richardson",   "Watson",      "Brooks",      "Chavez",   "Wood",
    "James",     "Bennett",   "Gray",         "Mendoza",     "Ruiz",        "Hughes",   "Price",
    "Alvarez",   "Castillo",  "Sanders",      "Patel",       "Myers",       "Long",     "Ross",
    "Foster",    "Jimenez",   "Smithers",     "Smith-Jones", "B\xE9langer", "Mu\xF1oz", "\xC9mond",
    "Tremblay",  "Gagnon",    "Roy",          "C\xF4t\xE9",  "Bouchard",    "Gauthier", "Morin",
    "Lavoie",    "Fortin",    "Gagn\xE9",     "Ouellet",     "Pelletier",   "Zywiec",   "O'Brien",
    "McDonald",  "MacLeod",   "Van der Berg", "St. John",    "De la Cruz",  "Nakamura", "Schmidt",
    "M\xFCller", "Schneider", "Fischer",      "Weber",       "Becker",      "Wagner",   "Kowalski",
    "Nowak",
};
const char *const kFirst[] = {
    "James",
    "Mary",
    "John",
    "Patricia",
    "Robert",
    "Jennifer",
    "Michael",
    "Linda",
    "William",
    "Elizabeth",
    "David",
    "Barbara",
    "Richard",
    "Susan",
    "Joseph",
    "Jessica",
    "Thomas",
    "Sarah",
    "Charles",
    "Karen",
    "Christopher",
    "Nancy",
    "Daniel",
    "Lisa",
    "Matthew",
    "Betty",
    "Anthony",
    "Margaret",
    "Mark",
    "Sandra",
    "Donald",
    "Ashley",
    "Steven",
    "Kimberly",
    "Paul",
    "Emily",
    "Andrew",
    "Donna",
    "Joshua",
    "Michelle",
    "Jos\xE9",
    "Ren\xE9",
    "Fran\xE7oise",
    "Chlo\xE9",
    "Ana Mar\xED"
    "a",
    "Zo\xEB",
    "Andr\xE9",
    "Ana",
    "Ryan",
    "Anna",
};
const char *const kPrefix[] = {"Mr.", "Ms.", "Mrs.", "Dr.", "Rev.", "Prof.", "Mr.", "Ms."};
const char *const kTitle[] = {"President", "Physician", "Attorney",  "Manager",   "Director",
                              "Teacher",   "Engineer",  "Pastor",    "Treasurer", "Secretary",
                              "Nurse",     "Owner",     "Librarian", "Accountant"};
const char *const kOrg[] = {
    "First Baptist Church", "Women's Chorus", "Acme Supply Co.",   "City Hospital", "Lincoln High School",
    "Rotary Club",          "Garden Society", "St. Mary's Parish", "Smith & Sons",  "Northwind Traders"};
const char *const kStreet[] = {
    "Main St",  "Oak Ave",         "Maple Dr",      "Congress Ave", "Granville St",
    "Elm St",   "Washington Blvd", "Lake Shore Dr", "Sunset Blvd",  "Rue Sainte-Catherine",
    "Cedar Ln", "Pine St",         "Park Ave",      "2nd St",       "Broadway"};
struct Place {
    const char *city;
    const char *state;
    const char *zip;
    const char *country;
};
const Place kPlaces[] = {
    {"San Francisco", "CA", "941", ""},
    {"San Antonio", "TX", "782", ""},
    {"San Diego", "CA", "921", ""},
    {"Portland", "OR", "972", ""},
    {"Portland", "ME", "041", ""},
    {"Boston", "MA", "021", ""},
    {"New York", "NY", "100", ""},
    {"Chicago", "IL", "606", ""},
    {"Austin", "TX", "787", ""},
    {"Seattle", "WA", "981", ""},
    {"Denver", "CO", "802", ""},
    {"Miami", "FL", "331", ""},
    {"Atlanta", "GA", "303", ""},
    {"Salem", "OR", "973", ""},
    {"Los Angeles", "California", "900", ""},
    {"Montr\xE9"
     "al",
     "QC", "H2X", "Canada"},
    {"Qu\xE9"
     "bec",
     "Qu\xE9"
     "bec",
     "G1R", "Canada"},
    {"Toronto", "ON", "M5V", "Canada"},
    {"Trois-Rivi\xE8res", "QC", "G9A", "Canada"},
    {"Saskatoon", "Saskatchewan", "S7K", "Canada"},
    {"Vancouver", "BC", "V6B", "Canada"},
};
const char *const kCodes[] = {"A", "B", "C", "VIP", "ABC", "X", "CD", "MEMBER", "B", "XMAS", "AB", "D"};
const char *const kUser[] = {"Volunteer",     "Donor",         "Board member",  "Newsletter",
                             "Prefers email", "Annual dinner", "Spring drive",  "Former member",
                             "Usher",         "Choir",         "Call evenings", "Sponsor"};
const char *const kUnit[] = {"Unit ", "Apt ", "Suite ", "PO Box ", "Floor "};
// Sentences memos are made of: notes of calls, payments and preferences.
const char *const kMemo[] = {
    "Met at the spring trade show.",
    "Paid \x80"
    "50 deposit for the caf\xE9 booking.",
    "Asked about bulk discounts; call back in March, prefers mornings.",
    "Second contact through the regional office.",
    "Sent the newsletter by post after the email bounced.",
    "Would like to help with the autumn mailing if it falls on a weekend.",
    "Moved from Montr\xE9"
    "al last year; the old address is in the archive.",
    "Donation received by cheque, receipt mailed.",
    "Do not call before 10 a.m.",
    "Spouse is also a member; send one letter to the household.",
};

} // namespace

AddressGenerator::AddressGenerator(uint64_t seed) : m_state(seed) {}

uint64_t AddressGenerator::random()
{
    // splitmix64: fast and the same everywhere.
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string AddressGenerator::digits(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += static_cast<char>('0' + pick(10));
    return s;
}

std::vector<xbase::FieldDescriptor> AddressGenerator::fields()
{
    return {{"LNAME", 'C', 30, 0, 0},  {"FNAME", 'C', 30, 0, 0},   {"MIDDLE", 'C', 1, 0, 0},
            {"PREFIX", 'C', 12, 0, 0}, {"TITLE", 'C', 30, 0, 0},   {"ORG", 'C', 30, 0, 0},
            {"STREET", 'C', 40, 0, 0}, {"STREET2", 'C', 40, 0, 0}, {"CITY", 'C', 30, 0, 0},
            {"STATE", 'C', 20, 0, 0},  {"ZIP", 'C', 10, 0, 0},     {"COUNTRY", 'C', 30, 0, 0},
            {"DATE", 'C', 15, 0, 0},   {"PHONE", 'C', 30, 0, 0},   {"PHONE2", 'C', 30, 0, 0},
            {"FAX", 'C', 40, 0, 0},    {"EMAIL", 'C', 40, 0, 0},   {"CODES", 'C', 30, 0, 0},
            {"USER1", 'C', 40, 0, 0},  {"USER2", 'C', 40, 0, 0},   {"ISDEL", 'L', 1, 0, 0},
            {"TAG", 'C', 8, 0, 0},     {"MEMO", 'M', 10, 0, 0}};
}

std::vector<xbase::TagDefinition> AddressGenerator::tags()
{
    const char *const t[][2] = {{"NAME", "UPPER(LNAME-FNAME)"},
                                {"LNAME", "UPPER(LNAME)+UPPER(FNAME)"},
                                {"FNAME", "UPPER(FNAME)"},
                                {"TITLE", "UPPER(TITLE)"},
                                {"ORG", "UPPER(ORG)"},
                                {"STREET", "UPPER(STREET)"},
                                {"STREET2", "UPPER(STREET2)"},
                                {"CITY", "UPPER(CITY+STATE)"},
                                {"STATE", "UPPER(STATE)"},
                                {"ZIP", "UPPER(ZIP)"},
                                {"COUNTRY", "UPPER(COUNTRY)"},
                                {"PHONE", "UPPER(PHONE)"},
                                {"PHONE2", "UPPER(PHONE2)"},
                                {"EMAIL", "UPPER(EMAIL)"},
                                {"FAX", "UPPER(FAX)"},
                                {"USER1", "UPPER(USER1)"},
                                {"USER2", "UPPER(USER2)"},
                                {"DATE", "UPPER(DATE)"},
                                {"TAG", "UPPER(TAG)"},
                                {"CODES", "UPPER(CODES)"},
                                {"PREFIX", "UPPER(PREFIX)"},
                                {"MIDDLE", "UPPER(MIDDLE)"},
                                {"DELETED", "DELETED()"},
                                {"STATEZIP", "UPPER(STATE-ZIP)"},
                                {"ISDEL", "ISDEL"},
                                {"NOTISDEL", "!ISDEL"}};
    std::vector<xbase::TagDefinition> out;
    for (const auto &p : t)
        out.push_back({p[0], p[1], ""});
    return out;
}

std::string AddressGenerator::lastName()
{
    return kLast[pick(std::size(kLast))];
}

AddressRecord AddressGenerator::next()
{
    ++m_count;
    AddressRecord r;
    std::vector<std::string> &v = r.values;
    v.resize(23);
    v[0] = lastName();
    v[1] = kFirst[pick(std::size(kFirst))];
    v[2] = std::string(1, static_cast<char>('A' + pick(26)));
    v[3] = kPrefix[pick(std::size(kPrefix))];
    v[4] = kTitle[pick(std::size(kTitle))];
    v[5] = kOrg[pick(std::size(kOrg))];
    v[6] = std::to_string(1 + pick(9999)) + " " + kStreet[pick(std::size(kStreet))];
    v[7] = kUnit[pick(std::size(kUnit))] + std::to_string(1 + pick(400));
    const Place &p = kPlaces[pick(std::size(kPlaces))];
    v[8] = p.city;
    v[9] = p.state;
    if (*p.country) {
        v[10] = std::string(p.zip) + " " + digits(1) + static_cast<char>('A' + pick(26)) + digits(1);
    } else {
        v[10] = std::string(p.zip) + digits(2);
        if (pick(4) == 0)
            v[10] += "-" + digits(4);
    }
    v[11] = *p.country ? p.country : "USA";
    char date[9];
    std::snprintf(date, sizeof date, "%04d%02d%02d", 1950 + static_cast<int>(pick(75)),
                  1 + static_cast<int>(pick(12)), 1 + static_cast<int>(pick(28)));
    v[12] = date;
    v[13] = digits(3) + "-555-" + digits(4);
    v[14] = "(" + digits(3) + ") 555-" + digits(4);
    v[15] = digits(3) + "-555-" + digits(4);
    v[16] = "user" + std::to_string(m_count) + "@example.com";
    v[17] = kCodes[pick(std::size(kCodes))];
    v[18] = kUser[pick(std::size(kUser))];
    v[19] = kUser[pick(std::size(kUser))];
    // 6 in 100 records bear the delete mark, 5 of them with ISDEL set as the program does.
    const size_t deletion = pick(100);
    r.marked = deletion < 6;
    v[20] = deletion < 5 ? "T" : "F";
    v[21] = pick(3) == 0 ? "T5703FX" : "";
    // 45 in 100 records have a memo, 358 bytes long on average (100 to 616).
    if (pick(100) < 45) {
        const size_t length = 100 + pick(517);
        std::string memo;
        while (memo.size() < length) {
            if (!memo.empty())
                memo += pick(4) == 0 ? "\r\n" : " ";
            memo += kMemo[pick(std::size(kMemo))];
        }
        memo.resize(length);
        v[22] = memo;
    }
    return r;
}

bool AddressGenerator::writeFile(const std::string &path, uint32_t count)
{
    const auto started = std::chrono::steady_clock::now();
    const auto fail = [&path] {
        std::fprintf(stderr, "could not generate %s\n", path.c_str());
        return false;
    };
    xbase::Table t;
    if (!xbase::Table::create(path, fields()).ok() || !t.open(path, xbase::OpenMode::Exclusive).ok())
        return fail();
    AddressGenerator gen;
    for (uint32_t i = 0; i < count; ++i) {
        const AddressRecord r = gen.next();
        if (!r.post(t).ok())
            return fail();
    }
    if (!t.addTags(tags()).ok() || !t.close().ok())
        return fail();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::printf("%u records generated with 26 tags in %.1f s\n", count, took.count());
    return true;
}
