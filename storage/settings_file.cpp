#include "storage/settings_file.h"

#include "storage/atomic_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_set>

namespace {

const int kMaxName = kSettingsNameField - 1;
const int kMaxHeader = kSettingsHeaderField - 1;
// Keys, names and values are carved from blocks of this size; Clear drops them all at once.
const size_t kStorageBlockSize = 64 * 1024;

bool IsDigit(unsigned char b) {
    return b >= '0' && b <= '9';
}

size_t CutName(size_t length) {
    return length > static_cast<size_t>(kMaxName) ? kMaxName : length;
}

size_t BoundedLength(const char* text, size_t limit) {
    const void* zero = std::memchr(text, '\0', limit + 1);
    return zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : limit;
}

size_t ValueBytes(SettingsType type, int32_t length) {
    switch (type) {
    case SettingsType::Integer: return 4;
    case SettingsType::IntegerList: return static_cast<size_t>(length) * 4;
    case SettingsType::String: return static_cast<size_t>(length) + 1;
    case SettingsType::Byte: return 1;
    default: return 0;
    }
}

// A decimal run starting at a digit; 32-bit arithmetic that wraps like the stored values do.
int32_t ReadNumber(const char*& p, const char* end) {
    bool negative = p[-1] == '-';
    uint32_t n = 0;
    while (p < end && IsDigit(static_cast<unsigned char>(*p))) {
        n = n * 10u + static_cast<uint32_t>(*p - '0');
        ++p;
    }
    if (negative) n = 0u - n;
    return static_cast<int32_t>(n);
}

void AppendDecimal(std::string* out, int64_t value) {
    char digits[24];
    int n = 0;
    bool negative = value < 0;
    uint64_t v = negative ? 0u - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (negative) digits[n++] = '-';
    while (n > 0)
        out->push_back(digits[--n]);
}

void AppendValueText(std::string* out, const SettingsKey& key) {
    switch (key.type) {
    case SettingsType::Integer: {
        int32_t v;
        std::memcpy(&v, key.value, 4);
        AppendDecimal(out, v);
        break;
    }
    case SettingsType::Byte:
        AppendDecimal(out, *static_cast<const unsigned char*>(key.value));
        break;
    case SettingsType::IntegerList: {
        out->push_back('{');
        const char* p = static_cast<const char*>(key.value);
        for (int32_t i = 0; i < key.length; ++i) {
            int32_t v;
            std::memcpy(&v, p + i * 4, 4);
            if (i > 0) out->append(", ");
            AppendDecimal(out, v);
        }
        out->push_back('}');
        break;
    }
    case SettingsType::String:
        out->push_back('"');
        AppendEscapedText(out, static_cast<const char*>(key.value),
                          static_cast<size_t>(key.length));
        out->push_back('"');
        break;
    default: break;
    }
}

// Upper bound of the bytes a key line takes, so the output is assembled in one allocation.
size_t KeyLineBound(const SettingsKey& key) {
    size_t value = 0;
    switch (key.type) {
    case SettingsType::IntegerList: value = 2 + static_cast<size_t>(key.length) * 13; break;
    case SettingsType::String: value = 2 + static_cast<size_t>(key.length) * 2; break;
    default: value = 12; break;
    }
    return static_cast<size_t>(key.nameLength) + 3 + value + 2;
}

bool IsPlaceholder(const SettingsKey* key) {
    return key->nameLength == 0;
}

// Eight bytes at a time: a word with a high bit marks the bytes of the upper half, ZeroBytes
// the zero bytes.
const uint64_t kOnes = 0x0101010101010101ull;
const uint64_t kHighs = 0x8080808080808080ull;

uint64_t ZeroBytes(uint64_t w) {
    return (w - kOnes) & ~w & kHighs;
}

// The first byte from p on that is a line feed, a zero or of the upper half, or end. Each line
// is looked at once, so a file of many short lines (or of zeros alone) reads in linear time.
const char* FirstLineStop(const char* p, const char* end) {
    for (; end - p >= 8; p += 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        if (((w & kHighs) | ZeroBytes(w) | ZeroBytes(w ^ (kOnes * '\n'))) != 0) break;
    }
    for (; p < end; ++p) {
        unsigned char b = static_cast<unsigned char>(*p);
        if (b >= 0x80 || b == '\0' || b == '\n') return p;
    }
    return end;
}

// Same for the text of a string value: quote, backslash or a byte of the upper half.
bool TextWordNeedsLook(uint64_t w) {
    return ((w & kHighs) | ZeroBytes(w ^ (kOnes * '"')) | ZeroBytes(w ^ (kOnes * '\\'))) != 0;
}

// True when p is the closing quote of a value: a quote with nothing after it on the line but
// the carriage return of its line end.
bool ClosesValue(const char* p, const char* end) {
    return p < end && *p == '"' && (end - p == 1 || (end - p == 2 && p[1] == '\r'));
}

// Length of the section name opened at open. The name runs through the last ']' of the line, so
// a name that holds ']' itself (also as the second byte of a two-byte character, as in many
// katakana) comes back whole; without one it runs to the line end.
size_t SectionNameLength(const char* open, const char* end) {
    for (const char* p = end; p > open + 1;) {
        if (*--p == ']') return static_cast<size_t>(p - open + 1);
    }
    return static_cast<size_t>(end - open);
}

// Where the value of a key line starts (a quote, a brace or a digit after its '='), or null when
// the line is no key line; *equals is the '='.
const char* KeyValueStart(const char* p0, const char* end, const char** equals) {
    *equals = static_cast<const char*>(std::memchr(p0 + 1, '=', static_cast<size_t>(end - p0 - 1)));
    if (!*equals) return nullptr;
    const char* v = *equals + 1;
    while (v < end && *v != '"' && *v != '{' && !IsDigit(static_cast<unsigned char>(*v)))
        ++v;
    return v == end ? nullptr : v;
}

bool OpensWithBracket(const char* line, const char* end) {
    while (line < end && *line == ' ')
        ++line;
    return line < end && *line == '[';
}

// Calls onLine(begin, end) for each line of bytes from offset at on. A line ends at a line feed
// or a zero, but a lead byte and the byte after it always stay together, whatever that byte is.
// Stops before the stopBefore-th line that opens with '[' (0: never), or after a line for which
// onLine returns false; returns the offset it stopped at, or size at the end.
template <typename OnLine>
size_t ForEachLine(const char* bytes, size_t size, size_t at, int stopBefore, OnLine onLine) {
    if (at >= size) return size; // an empty file holds no line
    const char* end = bytes + size;
    const char* line = bytes + at;
    int opened = 0;
    for (;;) {
        if (stopBefore > 0 && OpensWithBracket(line, end) && ++opened == stopBefore)
            return static_cast<size_t>(line - bytes);
        const char* stop = FirstLineStop(line, end);
        if (stop == end || *stop == '\n' || *stop == '\0') {
            // No two-byte character before it: the line feed, the zero or the end ends the line.
            if (!onLine(line, stop))
                return stop == end ? size : static_cast<size_t>(stop + 1 - bytes);
            if (stop == end) break;
            line = stop + 1;
            continue;
        }
        const char* p = stop;
        const char* zero = nullptr; // a zero held inside a pair ends the line's text
        for (;;) {
            if (p == end) return onLine(line, zero ? zero : p), size;
            unsigned char b = static_cast<unsigned char>(*p);
            if (IsSettingsLeadByte(b)) {
                // A lead byte as the very last byte has no partner: that last line is dropped.
                if (p + 1 == end) return size;
                if (p[1] == '\0' && !zero) zero = p + 1;
                p += 2;
            } else if (b == '\n' || b == '\0') {
                if (!onLine(line, zero ? zero : p)) return static_cast<size_t>(p + 1 - bytes);
                break;
            } else {
                ++p;
            }
        }
        line = p + 1;
    }
    return size;
}

uint64_t LoadWord(const char* p) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

} // namespace

size_t CharacterPrefixLength(const char* text, size_t length, size_t limit) {
    if (length <= limit) return length;
    size_t i = 0;
    while (i < limit) {
        size_t step = IsSettingsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}

struct SettingsFile::StorageBlock {
    StorageBlock* next;
    size_t used;
    size_t size;
    alignas(8) unsigned char bytes[1];
};

uint32_t SettingsNameHash(const char* name, size_t length) {
    // The terms are independent, so two running hashes shorten the chain of XORs.
    auto term = [name](size_t i) {
        uint32_t b = static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(name[i])));
        return b << ((b + static_cast<uint32_t>(i)) & 31u);
    };
    uint32_t even = 0, odd = 0;
    size_t i = 0;
    for (; i + 1 < length; i += 2) {
        even ^= term(i);
        odd ^= term(i + 1);
    }
    if (i < length) even ^= term(i);
    return even ^ odd;
}

void AppendEscapedText(std::string* out, const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        if (b == 0) break; // a String's text ends at its first zero byte
        if (IsSettingsLeadByte(b)) {
            if (i + 1 < length && text[i + 1] != '\0') {
                out->push_back(static_cast<char>(b));
                out->push_back(text[++i]);
            } else {
                // A lead byte without its second byte would swallow the closing quote when read;
                // escaped, it reads back as itself.
                out->push_back('\\');
                out->push_back(static_cast<char>(b));
            }
            continue;
        }
        switch (b) {
        case '\\': out->append("\\\\"); break;
        case '"': out->append("\\\""); break;
        case '\n': out->append("\\n"); break;
        case '\r': out->append("\\r"); break;
        default: out->push_back(static_cast<char>(b)); break;
        }
    }
}

SettingsFile::SettingsFile()
    : firstSection(nullptr), sectionCount(0), parsedKeyLength(0), parsedType(SettingsType::Empty),
      parsedValue(new int32_t[kSettingsScratchCount]), parsedLength(0),
      parsedCapacity(kSettingsScratchCount), lastSection(nullptr), lastKey(nullptr),
      currentNameLength(0), currentSection(nullptr), storage(nullptr) {
    header[0] = '\0';
    parsedKey[0] = '\0';
    currentName[0] = '\0';
}

SettingsFile::~SettingsFile() {
    if (firstSection || storage) Clear();
    delete[] parsedValue;
}

void* SettingsFile::Allocate(size_t bytes) {
    bytes = (bytes + 7) & ~static_cast<size_t>(7);
    if (!storage || storage->size - storage->used < bytes) {
        size_t size = bytes > kStorageBlockSize ? bytes : kStorageBlockSize;
        void* raw = std::malloc(offsetof(StorageBlock, bytes) + size);
        if (!raw) throw std::bad_alloc();
        StorageBlock* block = static_cast<StorageBlock*>(raw);
        block->next = storage;
        block->used = 0;
        block->size = size;
        storage = block;
    }
    void* p = storage->bytes + storage->used;
    storage->used += bytes;
    return p;
}

void SettingsFile::Clear() {
    while (storage) {
        StorageBlock* next = storage->next;
        std::free(storage);
        storage = next;
    }
    firstSection = nullptr;
    sectionCount = 0;
    lastSection = nullptr;
    lastKey = nullptr;
    currentSection = nullptr;
}

void SettingsFile::SetHeader(const char* text) {
    size_t n = BoundedLength(text, kMaxHeader);
    std::memcpy(header, text, n);
    header[n] = '\0';
}

SettingsSection* SettingsFile::FindSection(const char* name, size_t length) const {
    length = CutName(length);
    if (lastSection && static_cast<size_t>(lastSection->nameLength) == length &&
        std::memcmp(lastSection->name, name, length) == 0)
        return lastSection;
    SettingsSection* s = firstSection;
    if (!s) return nullptr;
    do {
        if (static_cast<size_t>(s->nameLength) == length && std::memcmp(s->name, name, length) == 0)
            return s;
        s = s->next;
    } while (s != firstSection);
    return nullptr;
}

SettingsKey* SettingsFile::NewKey(const char* name, size_t nameLength, SettingsType type,
                                  const void* value, int32_t length) {
    nameLength = CutName(nameLength);
    size_t valueBytes = ValueBytes(type, length);
    SettingsKey* key = static_cast<SettingsKey*>(Allocate(sizeof(SettingsKey) + nameLength + 1));
    char* keyName = reinterpret_cast<char*>(key + 1);
    std::memcpy(keyName, name, nameLength);
    keyName[nameLength] = '\0';
    key->name = keyName;
    key->nameLength = static_cast<int>(nameLength);
    key->type = type;
    key->length = length;
    key->value = nullptr;
    if (valueBytes > 0) {
        char* v = static_cast<char*>(Allocate(valueBytes));
        if (type == SettingsType::String) {
            if (length > 0) std::memcpy(v, value, static_cast<size_t>(length));
            v[length] = '\0';
        } else {
            std::memcpy(v, value, valueBytes);
        }
        key->value = v;
    }
    key->hash = SettingsNameHash(keyName, nameLength);
    key->next = key;
    key->prev = key;
    return key;
}

SettingsSection* SettingsFile::EnsureSection(const char* name, size_t length, bool* added) {
    length = CutName(length);
    *added = false;
    if (SettingsSection* found = FindSection(name, length)) return found;
    SettingsSection* s = static_cast<SettingsSection*>(Allocate(sizeof(SettingsSection)));
    std::memcpy(s->name, name, length);
    s->name[length] = '\0';
    s->nameLength = static_cast<int>(length);
    s->keyCount = 0;
    s->firstKey = NewKey("", 0, SettingsType::Empty, nullptr, 0);
    if (!firstSection) {
        s->next = s->prev = s;
        firstSection = s;
    } else {
        s->next = firstSection;
        s->prev = firstSection->prev;
        firstSection->prev->next = s;
        firstSection->prev = s;
    }
    ++sectionCount;
    *added = true;
    return s;
}

int SettingsFile::AddSection(const char* name) {
    bool added;
    EnsureSection(name, BoundedLength(name, kMaxName), &added);
    return added ? 1 : 0;
}

int SettingsFile::HasSection(const char* name) const {
    return FindSection(name, BoundedLength(name, kMaxName)) ? 1 : 0;
}

int SettingsFile::PutKey(SettingsSection* section, const char* name, size_t nameLength,
                         SettingsType type, const void* value, int32_t length) {
    if (type == SettingsType::Integer || type == SettingsType::Byte) length = 1;
    if (length < 0 || (length > 0 && !value)) return -1;
    if (type == SettingsType::IntegerList && length > INT32_MAX / 4) return -1;
    SettingsKey* key = NewKey(name, nameLength, type, value, length);
    SettingsKey* first = section->firstKey;
    if (IsPlaceholder(first)) {
        // The first key set in a section takes the placeholder's place in the ring.
        if (first->next == first) {
            section->firstKey = key;
        } else {
            key->next = first->next;
            key->prev = first->prev;
            first->prev->next = key;
            first->next->prev = key;
            section->firstKey = key;
        }
        if (lastKey == first) lastKey = key;
    } else {
        key->next = first;
        key->prev = first->prev;
        first->prev->next = key;
        first->prev = key;
    }
    ++section->keyCount;
    return 1;
}

int SettingsFile::SetValue(const char* sectionName, const SettingsValue& value) {
    if (value.type < SettingsType::Integer || value.type > SettingsType::Byte) return -1;
    bool added;
    SettingsSection* section =
        EnsureSection(sectionName, BoundedLength(sectionName, kMaxName), &added);
    return PutKey(section, value.name, BoundedLength(value.name, kMaxName), value.type, value.value,
                  value.length);
}

SettingsKey* SettingsFile::FindKey(SettingsSection* section, const char* name, size_t length,
                                   int backward, int occurrence) {
    auto sameName = [&](const SettingsKey* k) {
        return static_cast<size_t>(k->nameLength) == length &&
               std::memcmp(k->name, name, length) == 0;
    };
    if (occurrence > 0) return FindLaterKey(section, name, length, occurrence);
    // Keys are mostly read in the order they were written: look around the last hit first. The
    // key after it nearly always matches, so it is compared before the name is even hashed.
    bool nearLastHit = section == lastSection && lastKey && lastKey->next && lastKey->prev;
    if (nearLastHit && sameName(lastKey->next)) return lastKey->next;
    uint32_t hash = SettingsNameHash(name, length);
    auto matches = [&](const SettingsKey* k) { return k->hash == hash && sameName(k); };
    if (nearLastHit) {
        SettingsKey* forward = lastKey;
        SettingsKey* back = lastKey;
        for (int step = 0; step < 7; ++step) {
            forward = forward->next;
            if (matches(forward)) return forward;
            back = back->prev;
            if (matches(back)) return back;
        }
    }
    SettingsKey* k = section->firstKey;
    do {
        if (matches(k)) return k;
        k = backward ? k->prev : k->next;
    } while (k != section->firstKey);
    return nullptr;
}

// A name set more than once (two tabs of one name in a hand-edited file) is read group by group:
// the occurrence-th key of the name in list order, or the last one when there are fewer.
SettingsKey* SettingsFile::FindLaterKey(SettingsSection* section, const char* name, size_t length,
                                        int occurrence) {
    uint32_t hash = SettingsNameHash(name, length);
    SettingsKey* found = nullptr;
    int seen = 0;
    SettingsKey* k = section->firstKey;
    do {
        if (k->hash == hash && static_cast<size_t>(k->nameLength) == length &&
            std::memcmp(k->name, name, length) == 0) {
            found = k;
            if (seen++ == occurrence) break;
        }
        k = k->next;
    } while (k != section->firstKey);
    return found;
}

const SettingsSection* SettingsFile::FindSectionNamed(const char* name) const {
    return FindSection(name, BoundedLength(name, kMaxName));
}

int SettingsFile::GetValue(const char* sectionName, const char* keyName, SettingsValue* out,
                           int deepCopy, int backward, int occurrence) {
    SettingsSection* section = FindSection(sectionName, BoundedLength(sectionName, kMaxName));
    if (!section) return 0;
    size_t length = BoundedLength(keyName, kMaxName);
    SettingsKey* key = FindKey(section, keyName, length, backward, occurrence);
    if (!key) return 0;
    lastSection = section;
    lastKey = key;

    std::memcpy(out->name, key->name, static_cast<size_t>(key->nameLength) + 1);
    out->type = key->type;
    out->length = key->length;
    size_t bytes = ValueBytes(key->type, key->length);
    if (key->type == SettingsType::String) bytes = static_cast<size_t>(key->length);
    if (deepCopy) {
        void* copy = std::malloc(bytes + 1);
        if (!copy) return 0;
        if (bytes > 0) std::memcpy(copy, key->value, bytes);
        static_cast<char*>(copy)[bytes] = '\0';
        out->value = copy;
        return 1;
    }
    size_t room = out->capacity > 0 ? static_cast<size_t>(out->capacity) : 0;
    if (key->type == SettingsType::String) {
        size_t n = room == 0 ? 0
                             : CharacterPrefixLength(static_cast<const char*>(key->value), bytes,
                                                     room - 1);
        if (room > 0) {
            std::memcpy(out->value, key->value, n);
            static_cast<char*>(out->value)[n] = '\0';
        }
        out->length = static_cast<int32_t>(n);
    } else if (key->type == SettingsType::Byte) {
        if (room >= 1)
            std::memcpy(out->value, key->value, 1);
        else
            out->length = 0;
    } else {
        size_t elements = bytes / 4;
        if (elements > room / 4) elements = room / 4;
        if (elements > 0) std::memcpy(out->value, key->value, elements * 4);
        out->length = static_cast<int32_t>(elements);
    }
    return 1;
}

void SettingsFile::ReadSectionName(const char* open, const char* end) {
    size_t length = CutName(SectionNameLength(open, end));
    std::memcpy(currentName, open, length);
    currentName[length] = '\0';
    currentNameLength = static_cast<int>(length);
    currentSection = nullptr;
}

void SettingsFile::ReadString(const char* p, const char* end) {
    char* out = reinterpret_cast<char*>(parsedValue);
    // Room for the text and its terminating zero.
    const size_t room = static_cast<size_t>(parsedCapacity) * 4 - 1;
    size_t n = 0;
    while (p < end) {
        // Plain runs are copied a word at a time.
        while (end - p >= 8 && room - n >= 8 && !TextWordNeedsLook(LoadWord(p))) {
            std::memcpy(out + n, p, 8);
            n += 8;
            p += 8;
        }
        if (p == end || *p == '"') break;
        unsigned char b = static_cast<unsigned char>(*p);
        if (IsSettingsLeadByte(b) && ClosesValue(p + 1, end)) {
            // No character has a quote as its second byte: a text from another editor (UTF-8)
            // ends in a lone lead byte here, and the quote still closes the value.
            if (n + 1 > room) break;
            out[n++] = static_cast<char>(b);
            break;
        }
        if (IsSettingsLeadByte(b)) {
            size_t pair = p + 1 < end ? 2 : 1;
            if (n + pair > room) break;
            std::memcpy(out + n, p, pair);
            n += pair;
            p += pair;
            continue;
        }
        if (n + 1 > room) break;
        if (b == '\\') {
            if (p + 1 >= end) break;
            char c = p[1];
            out[n++] = c == 'n' ? '\n' : c == 'r' ? '\r' : c;
            p += 2;
            continue;
        }
        out[n++] = static_cast<char>(b);
        ++p;
    }
    out[n] = '\0';
    parsedType = SettingsType::String;
    parsedLength = static_cast<int32_t>(n);
}

bool SettingsFile::ReadKey(const char* p0, const char* end) {
    const char* equals;
    const char* v = KeyValueStart(p0, end, &equals);
    if (!v) return false;

    // The writer puts one space before '='; exactly one byte is dropped there.
    size_t nameLength = CutName(static_cast<size_t>(equals - 1 - p0));
    std::memcpy(parsedKey, p0, nameLength);
    parsedKey[nameLength] = '\0';
    parsedKeyLength = static_cast<int>(nameLength);

    if (*v == '"') {
        ReadString(v + 1, end);
    } else if (*v == '{') {
        int32_t count = 0;
        const char* p = v + 1;
        while (p < end && *p != '}') {
            if (!IsDigit(static_cast<unsigned char>(*p))) {
                ++p;
                continue;
            }
            int32_t n = ReadNumber(p, end);
            if (count < kSettingsListLimit) parsedValue[count++] = n;
        }
        parsedType = SettingsType::IntegerList;
        parsedLength = count;
    } else {
        parsedValue[0] = ReadNumber(v, end);
        parsedType = SettingsType::Integer;
        parsedLength = 1;
    }
    return true;
}

void SettingsFile::ParseLine(const char* begin, const char* end) {
    const char* p0 = begin;
    while (p0 < end && *p0 == ' ')
        ++p0;
    if (p0 == end) return;
    bool opensSection = *p0 == '[';
    if (opensSection) ReadSectionName(p0, end);
    if (ReadKey(p0, end)) {
        // Key lines before the first section header have no section to go to and are dropped.
        if (currentNameLength == 0) return;
        if (!currentSection) {
            bool added;
            currentSection =
                EnsureSection(currentName, static_cast<size_t>(currentNameLength), &added);
        }
        PutKey(currentSection, parsedKey, static_cast<size_t>(parsedKeyLength), parsedType,
               parsedValue, parsedLength);
        return;
    }
    if (!opensSection) {
        const char* open =
            static_cast<const char*>(std::memchr(p0 + 1, '[', static_cast<size_t>(end - p0 - 1)));
        if (!open) return;
        ReadSectionName(open, end);
    }
    bool added;
    currentSection = EnsureSection(currentName, static_cast<size_t>(currentNameLength), &added);
}

void SettingsFile::LoadBytes(const char* bytes, size_t size) {
    LoadBytesPart(bytes, size, 0, 0);
}

size_t SettingsFile::LoadBytesPart(const char* bytes, size_t size, size_t at, int stopBefore) {
    if (at == 0) {
        currentName[0] = '\0';
        currentNameLength = 0;
        currentSection = nullptr;
    }
    size_t stopped = ForEachLine(bytes, size, at, stopBefore, [this](const char* b, const char* e) {
        ParseLine(b, e);
        return true;
    });
    if (stopped == size) currentSection = nullptr;
    return stopped;
}

bool SettingsFile::PartAddsToASectionAgain(const char* bytes, size_t size, size_t at) const {
    // Only the name switches are followed: a key line adds to the section last named.
    std::unordered_set<std::string> left;
    std::string current(currentName, static_cast<size_t>(currentNameLength));
    bool again = !current.empty() && FindSection(current.data(), current.size());
    auto switchTo = [&](const char* open, const char* end) {
        if (!current.empty()) left.insert(current);
        current.assign(open, CutName(SectionNameLength(open, end)));
        again = left.count(current) > 0 || FindSection(current.data(), current.size());
    };
    bool addsAgain = false;
    ForEachLine(bytes, size, at, 0, [&](const char* begin, const char* end) {
        const char* p0 = begin;
        while (p0 < end && *p0 == ' ')
            ++p0;
        if (p0 == end) return true;
        if (*p0 == '[') switchTo(p0, end);
        const char* equals;
        if (KeyValueStart(p0, end, &equals)) {
            addsAgain = again;
            return !addsAgain;
        }
        if (*p0 != '[') {
            const char* open = static_cast<const char*>(
                std::memchr(p0 + 1, '[', static_cast<size_t>(end - p0 - 1)));
            if (open) switchTo(open, end);
        }
        return true;
    });
    return addsAgain;
}

int SettingsFile::Load(const char* path) {
    std::unique_ptr<char[]> bytes;
    size_t size;
    if (ReadFileStatus(path, &bytes, &size, 1) != FileReadResult::Read) return 1;
    LoadBytes(bytes.get(), size);
    return 1;
}

void SettingsFile::Render(std::string* out) const {
    size_t bound = std::strlen(header) + 2;
    const SettingsSection* s = firstSection;
    if (s) do {
            bound += static_cast<size_t>(s->nameLength) + 4;
            const SettingsKey* k = s->firstKey;
            do {
                bound += KeyLineBound(*k);
                k = k->next;
            } while (k != s->firstKey);
            s = s->next;
        } while (s != firstSection);
    out->clear();
    out->reserve(bound);

    if (header[0] != '\0') {
        out->append(header);
        out->append("\r\n");
    }
    s = firstSection;
    if (!s) return;
    do {
        if (s != firstSection) out->append("\r\n");
        out->append(s->name, static_cast<size_t>(s->nameLength));
        out->append("\r\n");
        const SettingsKey* k = s->firstKey;
        if (!IsPlaceholder(k)) do {
                out->append(k->name, static_cast<size_t>(k->nameLength));
                out->append(" = ");
                AppendValueText(out, *k);
                out->append("\r\n");
                k = k->next;
            } while (k != s->firstKey);
        s = s->next;
    } while (s != firstSection);
}

int SettingsFile::Save(const char* path) const {
    std::string text;
    Render(&text);
    return SaveFileAtomically(path, text.data(), text.size()) ? 1 : 0;
}

// The process-wide document and the two scratch records of SettingsGet.
namespace {

SettingsFile document;
SettingsValue textScratch;
SettingsValue numberScratch;

// The settings file as the last SettingsRead found it: kept for the backup that the first save
// of the run writes beside it.
FileReadResult foundState = FileReadResult::Missing;
std::string foundPath;
// The buffer the file was read into, kept rather than copied: a big catalogue's file is megabytes.
std::unique_ptr<char[]> foundBytes;
size_t foundSize = 0;
bool backupWritten = false;
// Where the lines not read yet start in foundBytes, when a read stopped after its first sections.
size_t restAt = 0;
bool restPending = false;

void ReadRest() {
    if (!restPending) return;
    restPending = false;
    document.LoadBytesPart(foundBytes.get(), foundSize, restAt, 0);
}

// A section the document does not hold yet may come later in the file: the rest is read up to
// it, a section at a time.
void ReadRestForSection(const char* sectionName) {
    while (restPending && !document.HasSection(sectionName)) {
        restAt = document.LoadBytesPart(foundBytes.get(), foundSize, restAt, 2);
        restPending = restAt < foundSize;
    }
}

// What was found applies to writes of the same file only.
bool IsFoundPath(const char* path) {
    return foundPath == path;
}

const char kBackupSuffix[] = ".bak";

// Keeps the file as it was found before anything replaces it; true when it may be replaced.
// A backup that cannot be refreshed (a read-only or locked .bak) leaves the older one there: it
// is a safety net, and failing to refresh it must not cost the run's changes. Without any
// backup the found file is not replaced.
bool KeepFoundFile(const char* path) {
    if (foundState != FileReadResult::Read || backupWritten || !IsFoundPath(path)) return true;
    std::string backup = std::string(path) + kBackupSuffix;
    backupWritten = SaveFileAtomically(backup.c_str(), foundBytes.get(), foundSize);
    return backupWritten || PathExists(backup.c_str());
}

// Numbers stored where a text is expected come out as their decimal text, lists as the empty
// text; either way the field ends with a zero inside it.
int NumberAsText(const SettingsValue& scratch, char* to, size_t size) {
    char digits[16] = "";
    if (scratch.type == SettingsType::Integer) {
        int32_t v;
        std::memcpy(&v, scratch.value, 4);
        std::snprintf(digits, sizeof digits, "%d", static_cast<int>(v));
    } else if (scratch.type == SettingsType::Byte) {
        std::snprintf(digits, sizeof digits, "%u",
                      *static_cast<const unsigned char*>(scratch.value));
    }
    size_t n = std::strlen(digits);
    if (n > size - 1) n = size - 1;
    std::memcpy(to, digits, n);
    to[n] = '\0';
    return static_cast<int>(n);
}

void FreeScratch(SettingsValue* scratch) {
    std::free(scratch->value);
    std::memset(scratch, 0, sizeof *scratch);
}

bool AllocateScratch(SettingsValue* scratch, size_t bytes) {
    FreeScratch(scratch);
    scratch->value = std::calloc(1, bytes);
    scratch->capacity = scratch->value ? static_cast<int32_t>(bytes) : 0;
    return scratch->value != nullptr;
}

} // namespace

SettingsFile& SettingsDocument() {
    ReadRest();
    return document;
}

int SettingsPrepare() {
    AllocateScratch(&textScratch, kSettingsTextScratch);
    AllocateScratch(&numberScratch, kSettingsScratchCount * 4);
    return 1;
}

void SettingsRelease() {
    restPending = false;
    document.Clear();
    FreeScratch(&textScratch);
    FreeScratch(&numberScratch);
}

int SettingsRead(const char* path, int firstSections) {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    ReadRest();
    foundState = ReadFileStatus(path, &bytes, &size, 1);
    foundPath = path;
    foundBytes.reset();
    foundSize = 0;
    backupWritten = false;
    if (foundState != FileReadResult::Read) return 1;
    size_t at =
        document.LoadBytesPart(bytes.get(), size, 0, firstSections > 0 ? firstSections + 1 : 0);
    // The rest is read a section at a time, so each section must be whole where it stands; a
    // hand-edited file that adds to a section again further down is read whole at once.
    if (at < size && document.PartAddsToASectionAgain(bytes.get(), size, at))
        at = document.LoadBytesPart(bytes.get(), size, at, 0);
    foundBytes = std::move(bytes);
    foundSize = size;
    restAt = at;
    restPending = at < size;
    return 1;
}

FileReadResult SettingsReadState() {
    return foundState;
}

int SettingsWrite(const char* path, const char* header) {
    ReadRest();
    if (header) document.SetHeader(header);
    // A file that is there but could not be read holds a catalogue this run never saw.
    if (foundState == FileReadResult::Unreadable && IsFoundPath(path)) return 0;
    if (!KeepFoundFile(path)) return 0;
    return document.Save(path);
}

const SettingsSection* SettingsFindSection(const char* sectionName) {
    ReadRestForSection(sectionName);
    return document.FindSectionNamed(sectionName);
}

int SettingsHasSection(const char* sectionName) {
    ReadRestForSection(sectionName);
    return document.HasSection(sectionName);
}

int SettingsSet(const char* sectionName, const char* keyName, SettingsType type, const void* data,
                int32_t length) {
    SettingsValue v;
    size_t n = BoundedLength(keyName, kMaxName);
    std::memcpy(v.name, keyName, n);
    v.name[n] = '\0';
    v.type = type;
    v.value = const_cast<void*>(data);
    v.length = length;
    v.capacity = 0;
    ReadRest();
    return document.SetValue(sectionName, v);
}

int SettingsGet(const char* sectionName, const char* keyName, SettingsType type, void* destination,
                size_t destinationSize, int backward, int occurrence) {
    SettingsValue* scratch;
    switch (type) {
    case SettingsType::Integer:
    case SettingsType::IntegerList: scratch = &numberScratch; break;
    case SettingsType::String:
    case SettingsType::Byte: scratch = &textScratch; break;
    default: return -1;
    }
    if (!scratch->value) return -1;
    ReadRestForSection(sectionName);
    if (!document.GetValue(sectionName, keyName, scratch, 0, backward, occurrence)) return -1;

    const char* from = static_cast<const char*>(scratch->value);
    char* to = static_cast<char*>(destination);
    if (type == SettingsType::String && scratch->type != SettingsType::String) {
        return destinationSize == 0 ? 0 : NumberAsText(*scratch, to, destinationSize);
    }
    switch (scratch->type) {
    case SettingsType::String: {
        if (destinationSize == 0) return 0;
        size_t n =
            CharacterPrefixLength(from, static_cast<size_t>(scratch->length), destinationSize - 1);
        std::memcpy(to, from, n);
        to[n] = '\0';
        return static_cast<int>(n);
    }
    case SettingsType::Byte:
        if (destinationSize == 0) return 0;
        to[0] = from[0];
        return 1;
    default: {
        size_t elements = static_cast<size_t>(scratch->length);
        if (elements > destinationSize / 4) elements = destinationSize / 4;
        std::memcpy(to, from, elements * 4);
        return static_cast<int>(elements);
    }
    }
}
