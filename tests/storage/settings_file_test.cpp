#include "storage/settings_file.h"

#include "storage_test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// A key as the reader left it, for table comparisons.
struct Seen {
    std::string section;
    std::string key;
    SettingsType type;
    std::string text;             // String
    std::vector<int32_t> numbers; // Integer, IntegerList
};

std::vector<Seen> Walk(const SettingsFile& doc) {
    std::vector<Seen> out;
    const SettingsSection* s = doc.FirstSection();
    if (!s) return out;
    do {
        const SettingsKey* k = s->firstKey;
        do {
            Seen seen{
                s->name, std::string(k->name, static_cast<size_t>(k->nameLength)), k->type, "", {}};
            if (k->type == SettingsType::String)
                seen.text.assign(static_cast<const char*>(k->value),
                                 static_cast<size_t>(k->length));
            if (k->type == SettingsType::Integer || k->type == SettingsType::IntegerList) {
                seen.numbers.resize(static_cast<size_t>(k->length));
                if (k->length > 0)
                    std::memcpy(seen.numbers.data(), k->value, seen.numbers.size() * 4);
            }
            out.push_back(seen);
            k = k->next;
        } while (k != s->firstKey);
        s = s->next;
    } while (s != doc.FirstSection());
    return out;
}

// Reads exactly these bytes from a buffer of their own size, so that a read past the end is
// caught by the address sanitizer.
std::vector<Seen> Read(const std::string& text) {
    SettingsFile doc;
    std::unique_ptr<char[]> exact(new char[text.size() + 1]);
    std::memcpy(exact.get(), text.data(), text.size());
    doc.LoadBytes(exact.get(), text.size());
    return Walk(doc);
}

std::string Render(const SettingsFile& doc) {
    std::string out;
    doc.Render(&out);
    return out;
}

SettingsValue Value(const char* name, SettingsType type, const void* data, int32_t length) {
    SettingsValue v{};
    std::snprintf(v.name, sizeof v.name, "%s", name);
    v.type = type;
    v.value = const_cast<void*>(data);
    v.length = length;
    return v;
}

void SetString(SettingsFile* doc, const char* section, const char* name, const std::string& text) {
    doc->SetValue(
        section, Value(name, SettingsType::String, text.data(), static_cast<int32_t>(text.size())));
}

void SetInt(SettingsFile* doc, const char* section, const char* name, int32_t v) {
    doc->SetValue(section, Value(name, SettingsType::Integer, &v, 1));
}

// Shift-JIS texts whose second bytes look like the syntax: 表 95 5C, ソ 83 5C, 院 89 40 is plain;
// 0x5B and 0x5D as second bytes, and a half-width katakana (single byte) before a backslash.
const std::string kTrickyText =
    "C:\\\x95\x5C\\\x83\x5C \"q\" \x81\x5B\x81\x5D \xB1\\ \xE0\x5C end\\";

} // namespace

TEST(SettingsLayout, WritesHeaderSectionsKeysAndValuesByteForByte) {
    SettingsFile doc;
    doc.SetHeader("; header");
    SetInt(&doc, "[Info]", "Sort", 3);
    SetInt(&doc, "[Info]", "Neg", -2147483647 - 1);
    unsigned char byte = 255;
    doc.SetValue("[Info]", Value("Alpha", SettingsType::Byte, &byte, 1));
    int32_t list[] = {1, -2, 30};
    doc.SetValue("[Info]", Value("List", SettingsType::IntegerList, list, 3));
    doc.SetValue("[Info]", Value("None", SettingsType::IntegerList, nullptr, 0));
    SetString(&doc, "[Info]", "Tab_0", "a\\b\"c");
    doc.AddSection("[Empty]");
    SetString(&doc, "[Tab_x]", "x_FilePath_0", "");
    EXPECT_EQ("; header\r\n"
              "[Info]\r\n"
              "Sort = 3\r\n"
              "Neg = -2147483648\r\n"
              "Alpha = 255\r\n"
              "List = {1, -2, 30}\r\n"
              "None = {}\r\n"
              "Tab_0 = \"a\\\\b\\\"c\"\r\n"
              "\r\n"
              "[Empty]\r\n"
              "\r\n"
              "[Tab_x]\r\n"
              "x_FilePath_0 = \"\"\r\n",
              Render(doc));
}

TEST(SettingsLayout, EmptyDocumentAndNoHeader) {
    SettingsFile doc;
    EXPECT_EQ("", Render(doc));
    doc.AddSection("[A]");
    EXPECT_EQ("[A]\r\n", Render(doc));
}

TEST(SettingsLayout, EscapesLineBreaksAndKeepsTrailBytes) {
    std::string out;
    AppendEscapedText(&out, kTrickyText.data(), kTrickyText.size());
    EXPECT_EQ("C:\\\\\x95\x5C\\\\\x83\x5C \\\"q\\\" \x81\x5B\x81\x5D \xB1\\\\ \xE0\x5C end\\\\",
              out);
    out.clear();
    std::string multi = "line1\r\nline2\n";
    AppendEscapedText(&out, multi.data(), multi.size());
    EXPECT_EQ("line1\\r\\nline2\\n", out);
    // A lead byte without its second byte is escaped so the closing quote survives.
    out.clear();
    AppendEscapedText(&out, "ab\x95", 3);
    EXPECT_EQ("ab\\\x95", out);
    // The text ends at a zero byte.
    out.clear();
    AppendEscapedText(&out, "ab\0cd", 5);
    EXPECT_EQ("ab", out);
}

TEST(SettingsReader, ClassifiesLines) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<Seen> expected;
    };
    const SettingsType I = SettingsType::Integer, L = SettingsType::IntegerList,
                       S = SettingsType::String, E = SettingsType::Empty;
    std::vector<Case> cases = {
        {"spaced key", "[S]\r\nSort = 1\r\n", {{"[S]", "Sort", I, "", {1}}}},
        {"unspaced key loses a letter", "[S]\nSort=1\n", {{"[S]", "Sor", I, "", {1}}}},
        {"leading spaces skipped", "[S]\n   Sort = 1\n", {{"[S]", "Sort", I, "", {1}}}},
        {"leading tab kept", "[S]\n\tSort = 1\n", {{"[S]", "\tSort", I, "", {1}}}},
        {"minus right before digit",
         "[S]\nk = -7\nm = - 7\n",
         {{"[S]", "k", I, "", {-7}}, {"[S]", "m", I, "", {7}}}},
        {"32-bit wrap",
         "[S]\nk = 4294967297\nm = 2147483648\n",
         {{"[S]", "k", I, "", {1}}, {"[S]", "m", I, "", {-2147483647 - 1}}}},
        {"text before value ignored", "[S]\nk = abc 12x\n", {{"[S]", "k", I, "", {12}}}},
        {"list ends at brace", "[S]\nk = {1, 2} 3 4\n", {{"[S]", "k", L, "", {1, 2}}}},
        {"list with minus and junk",
         "[S]\nk = {-1,x2;  -3\r\n",
         {{"[S]", "k", L, "", {-1, 2, -3}}}},
        {"empty list", "[S]\nk = {}\n", {{"[S]", "k", L, "", {}}}},
        {"string with escapes",
         "[S]\nk = \"a\\\\b\\\"c\\n\\r\\x\"\n",
         {{"[S]", "k", S, "a\\b\"c\n\rx", {}}}},
        {"string without closing quote keeps CR",
         "[S]\r\nk = \"abc\r\n",
         {{"[S]", "k", S, "abc\r", {}}}},
        {"backslash ends line", "[S]\nk = \"ab\\", {{"[S]", "k", S, "ab", {}}}},
        {"pair with trail 5C inside string",
         "[S]\nk = \"\x95\\\"\n",
         {{"[S]", "k", S, "\x95\\", {}}}},
        {"lead byte before the closing quote at the line end",
         "[S]\nk = \"a\x81\"\r\nm = \"\x81\"x\"\n",
         {{"[S]", "k", S, "a\x81", {}}, {"[S]", "m", S, "\x81\"x", {}}}},
        {"pair with LF stays in line", "[S]\nk = \"\x95\nx\"\n", {{"[S]", "k", S, "\x95\nx", {}}}},
        {"header with key switches section",
         "[A=1]\nk = 2\n",
         {{"[A=1]", "[", I, "", {1}}, {"[A=1]", "k", I, "", {2}}}},
        {"section name keeps a trail 5D", "[\x81\x5D]\nk = 1\n", {{"[\x81\x5D]", "k", I, "", {1}}}},
        {"section name runs to the last bracket",
         "[Tab_a]b] \r\nk = 1\n",
         {{"[Tab_a]b]", "k", I, "", {1}}}},
        {"trail 5B in a header line opens a section",
         "; \x81\x5Bxyz\r\nk = 1\n",
         {{"[xyz\r", "k", I, "", {1}}}},
        {"section without close bracket", "  [abc\n", {{"[abc", "", E, "", {}}}},
        {"section after text", "x [T] y\nk = 5\n", {{"[T]", "k", I, "", {5}}}},
        {"keys before any section dropped", "k = 1\n[S]\nm = 2\n", {{"[S]", "m", I, "", {2}}}},
        {"no key no bracket ignored", "[S]\n;comment\nk =\nm = x\n\t\n", {{"[S]", "", E, "", {}}}},
        {"repeated header reuses section",
         "[S]\na = 1\n[T]\n[S]\nb = 2\n",
         {{"[S]", "a", I, "", {1}}, {"[S]", "b", I, "", {2}}, {"[T]", "", E, "", {}}}},
        {"zero byte ends a line",
         std::string("[S]\nk = 1\0m = 2\n", 16),
         {{"[S]", "k", I, "", {1}}, {"[S]", "m", I, "", {2}}}},
        {"zero as second byte ends the text",
         std::string("[S]\nk = \"a\x95\0b\"\nm = 3", 20),
         {{"[S]", "k", S, "a\x95", {}}, {"[S]", "m", I, "", {3}}}},
        {"last line without line end", "[S]\nk = 9", {{"[S]", "k", I, "", {9}}}},
        {"lead byte as last byte drops the last line",
         "[S]\nk = 1\nm = \"\x95",
         {{"[S]", "k", I, "", {1}}}},
        {"empty file", "", {}},
        {"only line ends", "\r\n\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Seen> got = Read(c.text);
        ASSERT_EQ(c.expected.size(), got.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(c.expected[i].section, got[i].section);
            EXPECT_EQ(c.expected[i].key, got[i].key);
            EXPECT_EQ(c.expected[i].type, got[i].type);
            EXPECT_EQ(c.expected[i].text, got[i].text);
            EXPECT_EQ(c.expected[i].numbers, got[i].numbers);
        }
    }
}

TEST(SettingsReader, ListKeepsFirst255Numbers) {
    std::string line = "[S]\nk = {";
    for (int i = 1; i <= 300; ++i)
        line += std::to_string(i) + ", ";
    line += "}\n";
    std::vector<Seen> got = Read(line);
    ASSERT_EQ(1u, got.size());
    ASSERT_EQ(255u, got[0].numbers.size());
    EXPECT_EQ(1, got[0].numbers.front());
    EXPECT_EQ(255, got[0].numbers.back());
}

TEST(SettingsReader, OverlongNamesAndValuesAreCut) {
    std::string longSection = "[" + std::string(400, 's') + "]";
    std::string longKey(400, 'k');
    std::string longText(10000, 'v');
    std::vector<Seen> got = Read(longSection + "\n" + longKey + " = \"" + longText + "\"\n");
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(longSection.substr(0, 255), got[0].section);
    EXPECT_EQ(longKey.substr(0, 255), got[0].key);
    EXPECT_EQ(8191u, got[0].text.size());
    // Two-byte characters are never split by the cut.
    std::string pairs;
    for (int i = 0; i < 5000; ++i)
        pairs += "\x95\x5C";
    got = Read("[S]\nk = \"x" + pairs + "\"\n");
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(8191u, got[0].text.size());
    EXPECT_EQ('x', got[0].text[0]);
}

TEST(SettingsFileIo, MissingAndEmptyFiles) {
    std::string folder = TestFolder();
    SettingsFile doc;
    EXPECT_EQ(1, doc.Load((folder + "/missing.ini").c_str()));
    EXPECT_EQ(0, doc.SectionCount());
    WriteBytes(folder + "/empty.ini", "");
    EXPECT_EQ(1, doc.Load((folder + "/empty.ini").c_str()));
    EXPECT_EQ(nullptr, doc.FirstSection());
    doc.LoadBytes(nullptr, 0); // an empty buffer may have no address at all
    EXPECT_EQ(nullptr, doc.FirstSection());
    SettingsValue v{};
    EXPECT_EQ(0, doc.GetValue("[Info]", "Sort", &v, 1, 0));
}

TEST(SettingsFileIo, FileEndingInLeadByteIsReadWithinItsBuffer) {
    std::string folder = TestFolder();
    WriteBytes(folder + "/lead.ini", "[S]\nk = 1\nm = \x95");
    SettingsFile doc;
    doc.Load((folder + "/lead.ini").c_str());
    std::vector<Seen> got = Walk(doc);
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ("k", got[0].key);
}

TEST(SettingsFileIo, RoundTripIsByteIdentical) {
    std::string folder = TestFolder();
    std::string first = folder + "/first.ini", second = folder + "/second.ini";
    const std::vector<std::string> texts = {
        kTrickyText,
        "",
        "multi\r\nline\ncomment\r",
        "\"quoted\"",
        "ab\x95",
        std::string(1500, '\\'),
        "\xB1\xDF\xA1 katakana",
        "[not a section]",
        "= equals =",
    };
    {
        SettingsFile doc;
        doc.SetHeader("; \x90\xDD\x92\xE8");
        for (size_t i = 0; i < texts.size(); ++i)
            SetString(&doc, "[Info]", ("Text_" + std::to_string(i)).c_str(), texts[i]);
        int32_t list[] = {-1, 0, 2147483647};
        doc.SetValue("[Tab_\x95\x5C]", Value("L", SettingsType::IntegerList, list, 3));
        ASSERT_EQ(1, doc.Save(first.c_str()));
    }
    SettingsFile reread;
    reread.Load(first.c_str());
    reread.SetHeader("; \x90\xDD\x92\xE8");
    ASSERT_EQ(1, reread.Save(second.c_str()));
    EXPECT_EQ(ReadBytes(first), ReadBytes(second));

    // Every text comes back whole, the lone lead byte included, and the length is the text's.
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        std::vector<char> buffer(4096, '#');
        SettingsValue v{};
        v.value = buffer.data();
        v.capacity = static_cast<int32_t>(buffer.size());
        ASSERT_EQ(1, reread.GetValue("[Info]", ("Text_" + std::to_string(i)).c_str(), &v, 0, 0));
        EXPECT_EQ(SettingsType::String, v.type);
        EXPECT_EQ(texts[i], std::string(buffer.data(), static_cast<size_t>(v.length)));
    }
}

// A file of zero bytes (what a lost write leaves) is as many empty lines as bytes: it reads in
// about the time of an ordinary file of its size, far inside a generous multiple of it.
TEST(SettingsFileIo, AZeroFilledFileReadsAsFastAsAnOrdinaryOne) {
    std::string ordinary = "[Info]\r\n", zeros(4u << 20, '\0');
    for (int i = 0; ordinary.size() < zeros.size(); ++i)
        ordinary += "Key_" + std::to_string(i) + " = \"\x95\x5C\"\r\n";
    auto fastest = [](const std::string& bytes) {
        double best = 1e300;
        for (int run = 0; run < 3; ++run) {
            SettingsFile doc;
            auto start = std::chrono::steady_clock::now();
            doc.LoadBytes(bytes.data(), bytes.size());
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best = std::min(best, took.count());
        }
        return best;
    };
    EXPECT_LT(fastest(zeros), 20 * fastest(ordinary));
}

TEST(SettingsFileIo, FailedSaveLeavesOldFile) {
    std::string folder = TestFolder();
    std::string path = folder + "/qdx.ini";
    WriteBytes(path, "old");
    SettingsFile doc;
    SetInt(&doc, "[Info]", "Sort", 1);
    // The temporary file cannot be created where a folder of that name stands.
    MakeFolder(path + ".tmp~");
    EXPECT_EQ(0, doc.Save(path.c_str()));
    EXPECT_EQ("old", ReadBytes(path));
    EXPECT_EQ(0, doc.Save((folder + "/no/such/folder/qdx.ini").c_str()));
    RemoveFolder(path + ".tmp~");
    EXPECT_EQ(1, doc.Save(path.c_str()));
    EXPECT_EQ("[Info]\r\nSort = 1\r\n", ReadBytes(path));
    EXPECT_FALSE(FileExists(path + ".tmp~"));
}

TEST(SettingsLookup, DuplicatesPlaceholderAndScanDirections) {
    SettingsFile doc;
    EXPECT_EQ(1, doc.AddSection("[S]"));
    EXPECT_EQ(0, doc.AddSection("[S]"));
    EXPECT_EQ(1, doc.HasSection("[S]"));
    EXPECT_EQ(0, doc.HasSection("[s]"));
    SetInt(&doc, "[S]", "x", 0);
    SetInt(&doc, "[S]", "k", 1);
    SetInt(&doc, "[S]", "y", 2);
    SetInt(&doc, "[S]", "k", 3);
    int32_t got = 0;
    SettingsValue v{};
    v.value = &got;
    v.capacity = 4;
    ASSERT_EQ(1, doc.GetValue("[S]", "k", &v, 0, 0));
    EXPECT_EQ(1, got);
    // The scan backward goes first, last, second to last.
    SettingsFile fresh;
    SetInt(&fresh, "[S]", "x", 0);
    SetInt(&fresh, "[S]", "k", 1);
    SetInt(&fresh, "[S]", "k", 3);
    ASSERT_EQ(1, fresh.GetValue("[S]", "k", &v, 0, 1));
    EXPECT_EQ(3, got);
    EXPECT_EQ(0, doc.GetValue("[S]", "K", &v, 0, 0));
    EXPECT_EQ(0, doc.GetValue("[T]", "k", &v, 0, 0));
    // The first key fills the placeholder: no empty key remains in front.
    EXPECT_EQ("x", std::string(doc.FirstSection()->firstKey->name));
    EXPECT_EQ(4, doc.FirstSection()->keyCount);
}

TEST(SettingsLookup, ManyKeysInAnyOrder) {
    SettingsFile doc;
    for (int i = 0; i < 200; ++i)
        SetInt(&doc, "[S]", ("Key_" + std::to_string(i)).c_str(), i);
    SetInt(&doc, "[T]", "Key_0", -1);
    std::vector<int> order;
    for (int i = 0; i < 200; ++i)
        order.push_back(i);
    for (int i = 199; i >= 0; i -= 3)
        order.push_back(i); // against the neighbour cache
    order.push_back(57);
    for (int i : order) {
        int32_t got = -5;
        SettingsValue v{};
        v.value = &got;
        v.capacity = 4;
        ASSERT_EQ(1, doc.GetValue("[S]", ("Key_" + std::to_string(i)).c_str(), &v, 0, 0));
        EXPECT_EQ(i, got);
    }
    int32_t got = 0;
    SettingsValue v{};
    v.value = &got;
    v.capacity = 4;
    ASSERT_EQ(1, doc.GetValue("[T]", "Key_0", &v, 0, 0));
    EXPECT_EQ(-1, got);
}

TEST(SettingsLookup, NameHash) {
    EXPECT_EQ(0u, SettingsNameHash("", 0));
    // 'A' (65): shifted by 65 & 31 = 1; 'B' (66) at index 1: shifted by 67 & 31 = 3.
    EXPECT_EQ((65u << 1) ^ (66u << 3), SettingsNameHash("AB", 2));
    // A byte of the upper half counts as negative: 0x95 is -107, shifted by (-107) & 31 = 21.
    EXPECT_EQ(static_cast<uint32_t>(-107) << 21, SettingsNameHash("\x95", 1));
}

class SettingsProcessWide : public testing::Test {
  protected:
    void SetUp() override { SettingsPrepare(); }
    void TearDown() override { SettingsRelease(); }
};

TEST_F(SettingsProcessWide, GetCopiesByStoredTypeAndCutsToTheDestination) {
    std::string text = "abc";
    ASSERT_EQ(1, SettingsSet("[Info]", "T", SettingsType::String, text.data(), 3));
    unsigned char b = 7;
    ASSERT_EQ(1, SettingsSet("[Info]", "B", SettingsType::Byte, &b, 1));
    int32_t n = -9;
    ASSERT_EQ(1, SettingsSet("[Info]", "N", SettingsType::Integer, &n, 1));
    EXPECT_EQ(1, SettingsHasSection("[Info]"));

    char field[8];
    std::memset(field, '#', sizeof field);
    EXPECT_EQ(3, SettingsGet("[Info]", "T", SettingsType::String, field, sizeof field, 0));
    EXPECT_STREQ("abc", field);
    int32_t number = 0;
    EXPECT_EQ(1, SettingsGet("[Info]", "N", SettingsType::Integer, &number, 4, 0));
    EXPECT_EQ(-9, number);
    int32_t byteField = 0;
    EXPECT_EQ(1, SettingsGet("[Info]", "B", SettingsType::Byte, &byteField, 4, 0));
    EXPECT_EQ(7, byteField);

    // Unknown type codes and missing keys leave the destination untouched.
    int32_t untouched = 42;
    EXPECT_EQ(-1, SettingsGet("[Info]", "N", static_cast<SettingsType>(5), &untouched, 4, 0));
    EXPECT_EQ(-1, SettingsGet("[Info]", "N", SettingsType::Empty, &untouched, 4, 0));
    EXPECT_EQ(-1, SettingsGet("[Info]", "missing", SettingsType::Integer, &untouched, 4, 0));
    EXPECT_EQ(-1, SettingsGet("[None]", "N", SettingsType::Integer, &untouched, 4, 0));
    EXPECT_EQ(42, untouched);
}

TEST_F(SettingsProcessWide, LongTextsAreCutAtEveryStep) {
    std::string folder = TestFolder();
    std::string path = folder + "/qdx.ini";
    std::string pairs;
    for (int i = 0; i < 3000; ++i)
        pairs += "\x95\x5C";
    WriteBytes(path, "[S]\r\nLong = \"" + std::string(5000, 'a') + "\"\r\nPairs = \"x" + pairs +
                         "\"\r\n");
    SettingsRead(path.c_str());
    std::vector<char> big(9000, '#');
    // The text scratch holds 2047 bytes and a zero.
    EXPECT_EQ(2047, SettingsGet("[S]", "Long", SettingsType::String, big.data(), big.size(), 0));
    EXPECT_EQ('\0', big[2047]);
    char field[256];
    EXPECT_EQ(255, SettingsGet("[S]", "Long", SettingsType::String, field, sizeof field, 0));
    // Cuts fall between characters: 'x' and 1023 pairs fit in 2047 bytes; 'x' and 127 in 255.
    EXPECT_EQ(2047, SettingsGet("[S]", "Pairs", SettingsType::String, big.data(), big.size(), 0));
    EXPECT_EQ(255, SettingsGet("[S]", "Pairs", SettingsType::String, field, sizeof field, 0));
    char tiny[4];
    EXPECT_EQ(3, SettingsGet("[S]", "Pairs", SettingsType::String, tiny, sizeof tiny, 0));
    EXPECT_EQ(std::string("x\x95\x5C"), std::string(tiny));
    // A list read as numbers fills only the room given.
    int32_t list[255] = {};
    ASSERT_EQ(1, SettingsSet("[S]", "L", SettingsType::IntegerList, list, 255));
    int32_t two[2];
    EXPECT_EQ(2, SettingsGet("[S]", "L", SettingsType::Integer, two, sizeof two, 0));
}

TEST_F(SettingsProcessWide, ReleaseEmptiesAndLookupsFailAfterwards) {
    int32_t n = 1;
    SettingsSet("[Info]", "N", SettingsType::Integer, &n, 1);
    SettingsRelease();
    int32_t out = 0;
    EXPECT_EQ(-1, SettingsGet("[Info]", "N", SettingsType::Integer, &out, 4, 0));
    SettingsPrepare();
    EXPECT_EQ(0, SettingsHasSection("[Info]"));
}

TEST_F(SettingsProcessWide, WriteThenReadGivesTheSameValues) {
    std::string path = TestFolder() + "/qdx.ini";
    std::string name = "\x83\x5C\x83\x74\x83\x67";
    std::string comment = "first line\r\nsecond \"line\" \\ end";
    int32_t count = 12;
    unsigned char iconType = 1;
    SettingsSet("[Info]", "Tab_0", SettingsType::String, name.data(),
                static_cast<int32_t>(name.size()));
    SettingsSet("[Tab_x]", "x_Count_0", SettingsType::Integer, &count, 1);
    SettingsSet("[Tab_x]", "x_IconType_0", SettingsType::Byte, &iconType, 1);
    SettingsSet("[Tab_x]", "x_Comment_0", SettingsType::String, comment.data(),
                static_cast<int32_t>(comment.size()));
    ASSERT_EQ(1, SettingsWrite(path.c_str(), "; header"));
    SettingsRelease();
    SettingsPrepare();
    SettingsRead(path.c_str());
    char text[1024];
    EXPECT_EQ(static_cast<int>(name.size()),
              SettingsGet("[Info]", "Tab_0", SettingsType::String, text, sizeof text, 0));
    EXPECT_EQ(name, text);
    EXPECT_EQ(static_cast<int>(comment.size()),
              SettingsGet("[Tab_x]", "x_Comment_0", SettingsType::String, text, sizeof text, 0));
    EXPECT_EQ(comment, text);
    // A stored byte comes back as a 32-bit integer.
    int32_t asInt = -1;
    EXPECT_EQ(1, SettingsGet("[Tab_x]", "x_IconType_0", SettingsType::Byte, &asInt, 4, 0));
    EXPECT_EQ(1, asInt);
}

TEST_F(SettingsProcessWide, TheFileAsFoundIsKeptOnceBeforeItIsReplaced) {
    std::string folder = TestFolder();
    std::string path = folder + "/qdx.ini";
    // A header without its bracket, a negative count, CR-only line ends: read, not understood.
    const std::string damaged = "[Info\r\nTabCount = -1\rTab_0 = \"a\"\r\n[Info]\r\nSort = 1";
    WriteBytes(path, damaged);
    SettingsRead(path.c_str());
    SettingsRelease();
    SettingsPrepare();
    int32_t sort = 2;
    SettingsSet("[Info]", "Sort", SettingsType::Integer, &sort, 1);
    ASSERT_EQ(1, SettingsWrite(path.c_str(), ""));
    EXPECT_EQ(damaged, ReadBytes(path + ".bak"));
    EXPECT_EQ("[Info]\r\nSort = 2\r\n", ReadBytes(path));
    // One generation per run: a second save keeps the backup of the file found at start.
    ASSERT_EQ(1, SettingsWrite(path.c_str(), ""));
    EXPECT_EQ(damaged, ReadBytes(path + ".bak"));
    EXPECT_FALSE(FileExists(path + ".bak.tmp~"));

    // Without a file at start there is nothing to keep.
    std::string fresh = folder + "/fresh.ini";
    SettingsRead(fresh.c_str());
    ASSERT_EQ(1, SettingsWrite(fresh.c_str(), ""));
    EXPECT_FALSE(FileExists(fresh + ".bak"));

    // An older backup that cannot be refreshed (read-only) stays, and the file is saved.
    WriteBytes(path + ".bak", "older");
    SetReadOnly(path + ".bak", true);
    WriteBytes(path, damaged);
    SettingsRead(path.c_str());
    ASSERT_EQ(1, SettingsWrite(path.c_str(), ""));
    EXPECT_NE(damaged, ReadBytes(path));
    EXPECT_EQ("older", ReadBytes(path + ".bak"));
    SetReadOnly(path + ".bak", false);

    // Without any backup, the found file is not replaced.
    WriteBytes(path, damaged);
    SettingsRead(path.c_str());
    std::remove((path + ".bak").c_str());
    MakeFolder(path + ".bak.tmp~");
    EXPECT_EQ(0, SettingsWrite(path.c_str(), ""));
    EXPECT_EQ(damaged, ReadBytes(path));
    RemoveFolder(path + ".bak.tmp~");
}

// A read that stops after the first sections, and reads on a section at a time, answers every
// lookup and writes every byte as a whole read does, also when a section is added to again.
TEST_F(SettingsProcessWide, AReadOfTheFirstSectionsAnswersAsAWholeRead) {
    const std::string tabs = "[Info]\r\nTab_0 = \"A\"\r\n[Tab_A]\r\nk = 1\r\n[Tab_B]\r\nk = 2\r\n";
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"sections in the written order", tabs},
        {"[Info] again at the end", tabs + "[Info]\r\nSort = 3\r\n"},
        {"a later tab again", tabs + "[Tab_C]\r\nk = 7\r\n[Tab_B]\r\nm = 6\r\n"},
        {"the first tab after the others",
         "[Info]\r\n[Tab_B]\r\nk = 2\r\n[x]\r\n[Tab_A]\r\nk = 1\r\n"},
    };
    // Lookups in the order start-up makes them: [Info], the first tab, then the others.
    const struct {
        const char* section;
        const char* key;
    } lookups[] = {{"[Info]", "Tab_0"}, {"[Info]", "Sort"}, {"[Tab_A]", "k"}, {"[Tab_B]", "m"}};
    std::string path = TestFolder() + "/qdx.ini";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string written[2];
        std::vector<int> answers[2];
        for (int part = 0; part < 2; ++part) {
            WriteBytes(path, c.text);
            SettingsRead(path.c_str(), part ? 2 : 0);
            for (const auto& l : lookups) {
                int32_t n = -1;
                answers[part].push_back(
                    SettingsGet(l.section, l.key, SettingsType::Integer, &n, sizeof n, 0));
                answers[part].push_back(n);
            }
            ASSERT_EQ(1, SettingsWrite(path.c_str(), "h"));
            written[part] = ReadBytes(path);
            SettingsRelease();
            SettingsPrepare();
        }
        EXPECT_EQ(answers[0], answers[1]);
        EXPECT_EQ(written[0], written[1]);
    }
}

// Saving opens no read-only file: the settings file and the archives are saved the same way.
TEST(SettingsFileIo, ReadOnlyFilesAreLeftAlone) {
    std::string path = TestFolder() + "/qdx.ini";
    WriteBytes(path, "old");
    SetReadOnly(path, true);
    SettingsFile doc;
    SetInt(&doc, "[Info]", "Sort", 1);
    EXPECT_EQ(0, doc.Save(path.c_str()));
    EXPECT_EQ("old", ReadBytes(path));
    SetReadOnly(path, false);
    EXPECT_EQ(1, doc.Save(path.c_str()));
    EXPECT_EQ("[Info]\r\nSort = 1\r\n", ReadBytes(path));
}
