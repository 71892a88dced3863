// Feeds arbitrary bytes to the settings reader, looks every key up through the process-wide
// functions into small fields, and checks that a document the format can express is written,
// read and written again to the same bytes; and that the bytes read in parts give the same
// document.
#include "storage/settings_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Names the text layout can carry unchanged: sections that end with their bracket and hold
// no '=', keys that are not empty and do not start with '['.
bool Expressible(const SettingsFile& doc) {
    const SettingsSection* s = doc.FirstSection();
    if (!s) return true;
    do {
        if (s->name[s->nameLength - 1] != ']' || std::memchr(s->name, '=', s->nameLength))
            return false;
        const SettingsKey* k = s->firstKey;
        do {
            bool placeholder = k == s->firstKey && k->type == SettingsType::Empty;
            if (!placeholder && (k->nameLength == 0 || k->name[0] == '[')) return false;
            k = k->next;
        } while (k != s->firstKey);
        s = s->next;
    } while (s != doc.FirstSection());
    return true;
}

void LookUpEverything(const SettingsFile& doc, bool backward) {
    char text[16];
    int32_t numbers[3];
    const SettingsSection* s = doc.FirstSection();
    if (!s) return;
    do {
        const SettingsKey* k = s->firstKey;
        do {
            SettingsGet(s->name, k->name, SettingsType::String, text, sizeof text, backward);
            SettingsGet(s->name, k->name, SettingsType::Integer, numbers, sizeof numbers, backward);
            SettingsGet(s->name, k->name, SettingsType::Byte, numbers, 1, backward);
            k = k->next;
        } while (k != s->firstKey);
        s = s->next;
    } while (s != doc.FirstSection());
}

std::vector<int32_t> KeyCounts(const SettingsFile& doc) {
    std::vector<int32_t> counts;
    const SettingsSection* s = doc.FirstSection();
    if (s) do {
            counts.push_back(s->keyCount);
            s = s->next;
        } while (s != doc.FirstSection());
    return counts;
}

// Reads the first two sections, then the rest a section at a time: when no section is said to
// be added to again, a section read is never added to by a later part.
void CheckReadInParts(const std::vector<char>& bytes, const std::string& whole) {
    SettingsFile doc;
    size_t at = doc.LoadBytesPart(bytes.data(), bytes.size(), 0, 3);
    bool again = doc.PartAddsToASectionAgain(bytes.data(), bytes.size(), at);
    while (at < bytes.size()) {
        std::vector<int32_t> before = KeyCounts(doc);
        at = doc.LoadBytesPart(bytes.data(), bytes.size(), at, 2);
        std::vector<int32_t> after = KeyCounts(doc);
        after.resize(before.size());
        if (!again && after != before) std::abort();
    }
    std::string text;
    doc.Render(&text);
    if (text != whole) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool prepared = SettingsPrepare() == 1;
    (void)prepared;
    // An exact-size copy, so a read past the end is caught.
    std::vector<char> bytes(data, data + size);
    SettingsFile& doc = SettingsDocument();
    doc.LoadBytes(bytes.data(), bytes.size());
    LookUpEverything(doc, false);
    LookUpEverything(doc, true);
    SettingsHasSection("[Info]");

    std::string first;
    doc.Render(&first);
    CheckReadInParts(bytes, first);
    bool expressible = Expressible(doc);
    doc.Clear();
    if (expressible) {
        doc.LoadBytes(first.data(), first.size());
        std::string second;
        doc.Render(&second);
        if (second != first) std::abort();
        doc.Clear();
    }
    return 0;
}
