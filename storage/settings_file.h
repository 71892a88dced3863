// The settings document: a sectioned text of "key = value" lines, read whole, looked up key by
// key and written back in one piece. Texts are Shift-JIS byte strings.
#pragma once

#include "storage/atomic_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

enum {
    kSettingsNameField = 256,     // section and key names: at most 255 bytes
    kSettingsHeaderField = 1024,  // the first line of the file
    kSettingsScratchCount = 2048, // 32-bit elements of the per-line value scratch
    kSettingsListLimit = 255,     // numbers kept from one list in the file
    kSettingsTextScratch = 2048,  // bytes of the text scratch used by SettingsGet
};

// Type code of a value. Empty marks the placeholder key of a new section.
enum class SettingsType : unsigned char {
    Empty = 0,
    Integer = 1,
    IntegerList = 2,
    String = 3,
    Byte = 4
};

// One key, owned by its section. The name and the value live in the document's storage.
struct SettingsKey {
    const char* name; // at most 255 bytes and a terminating zero
    int nameLength;
    SettingsType type;
    void* value; // Integer: one int32; IntegerList: length int32; String: length bytes and a zero;
                 // Byte: one byte
    int32_t length;
    uint32_t hash;
    SettingsKey* next;
    SettingsKey* prev;
};

// One section; its name includes the square brackets ("[Info]").
struct SettingsSection {
    char name[kSettingsNameField];
    int nameLength;
    int32_t keyCount;
    SettingsKey* firstKey; // circular list in insertion order
    SettingsSection* next;
    SettingsSection* prev;
};

// A key as passed to SetValue and returned by GetValue. For GetValue without a deep copy, value
// points at the caller's buffer of capacity bytes; longer values are cut to fit.
struct SettingsValue {
    char name[kSettingsNameField];
    SettingsType type;
    void* value;
    int32_t length;
    int32_t capacity;
};

// Hash of a key name: each byte, sign-extended, is shifted by (byte + index) mod 32 and XORed in.
uint32_t SettingsNameHash(const char* name, size_t length);

// True for a byte that starts a two-byte character in the settings text (0x81..0xA0,
// 0xE0..0xFF); its second byte is never taken as a quote or backslash.
inline bool IsSettingsLeadByte(unsigned char b) {
    return b > 0x80 && (b < 0xA1 || b > 0xDF);
}

// Length of the longest prefix of text (length bytes) that fits in limit bytes without
// splitting a two-byte character.
size_t CharacterPrefixLength(const char* text, size_t length, size_t limit);

// Appends a String value's text as it stands between the quotes of a key line: backslash and
// quote escaped, line feed and carriage return as \n and \r, two-byte characters unchanged.
void AppendEscapedText(std::string* out, const char* text, size_t length);

class SettingsFile {
  public:
    SettingsFile();
    virtual ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Adds the sections and keys of the file; 1 also when it cannot be opened (nothing added).
    int Load(const char* path);
    // The same reader over bytes in memory.
    void LoadBytes(const char* bytes, size_t size);
    // Reads the lines from offset at on and stops before the stopBefore-th line that opens with
    // '[' (0: reads to the end); returns the offset it stopped at. The section being read carries
    // over to the next part, so a file read in parts gives the document it gives read whole;
    // at 0 starts a new read.
    size_t LoadBytesPart(const char* bytes, size_t size, size_t at, int stopBefore);
    // True when a key line from offset at on would go to a section the document already holds,
    // or to one that those lines named before and left.
    bool PartAddsToASectionAgain(const char* bytes, size_t size, size_t at) const;
    // Replaces the file with the whole document; 1 when written, 0 when nothing was written
    // (the previous file is then left as it was).
    int Save(const char* path) const;
    // The exact bytes Save writes.
    void Render(std::string* out) const;

    void SetHeader(const char* text);
    int AddSection(const char* name);
    int HasSection(const char* name) const;
    int SetValue(const char* sectionName, const SettingsValue& value);
    // occurrence > 0 reads the occurrence-th key of that name (0 is the first), or the last one
    // when the section holds fewer.
    int GetValue(const char* sectionName, const char* keyName, SettingsValue* out, int deepCopy,
                 int backward, int occurrence = 0);
    const SettingsSection* FindSectionNamed(const char* name) const;
    void Clear();

    const char* Header() const { return header; }
    const SettingsSection* FirstSection() const { return firstSection; }
    int SectionCount() const { return sectionCount; }

  private:
    struct StorageBlock;

    SettingsSection* FindSection(const char* name, size_t length) const;
    SettingsSection* EnsureSection(const char* name, size_t length, bool* added);
    SettingsKey* NewKey(const char* name, size_t nameLength, SettingsType type, const void* value,
                        int32_t length);
    int PutKey(SettingsSection* section, const char* name, size_t nameLength, SettingsType type,
               const void* value, int32_t length);
    SettingsKey* FindKey(SettingsSection* section, const char* name, size_t length, int backward,
                         int occurrence);
    SettingsKey* FindLaterKey(SettingsSection* section, const char* name, size_t length,
                              int occurrence);
    void* Allocate(size_t bytes);
    void ParseLine(const char* begin, const char* end);
    bool ReadKey(const char* p0, const char* end);
    void ReadSectionName(const char* open, const char* end);
    void ReadString(const char* p, const char* end);

    char header[kSettingsHeaderField];
    SettingsSection* firstSection;
    int32_t sectionCount;
    char parsedKey[kSettingsNameField];
    int parsedKeyLength;
    SettingsType parsedType;
    int32_t* parsedValue;
    int32_t parsedLength;
    int32_t parsedCapacity;
    SettingsSection* lastSection;
    SettingsKey* lastKey;

    // Reading state: the current section name and the section it resolves to (null until a key
    // needs it).
    char currentName[kSettingsNameField];
    int currentNameLength;
    SettingsSection* currentSection;
    StorageBlock* storage;
};

// The process-wide document and its lookup scratch.
SettingsFile& SettingsDocument();
int SettingsPrepare();
void SettingsRelease();
// Reads the file into the document and keeps its bytes for the backup. With firstSections > 0,
// only the lines before the line that opens section firstSections + 1 are read now, when no
// section is added to again further down. The rest is read when it is needed: up to a section
// asked for and not read yet, or all of it for any write or the whole document.
int SettingsRead(const char* path, int firstSections = 0);
// What the last SettingsRead found: no file, a file read whole, or a file that is there but
// could not be read.
FileReadResult SettingsReadState();
// Writes the document over path. The first write after a read keeps the file as it was found
// as path + ".bak" first; when that backup cannot be written, an older one there stays and the
// file is written all the same, but without any backup a file that was read is not replaced.
// A file that could not be read is never replaced. 1 when written.
int SettingsWrite(const char* path, const char* header);
// The section of that name, or null; for walking its keys.
const SettingsSection* SettingsFindSection(const char* sectionName);
int SettingsHasSection(const char* sectionName);
int SettingsSet(const char* sectionName, const char* keyName, SettingsType type, const void* data,
                int32_t length);
// Copies the value of the key into destination (destinationSize bytes) by the stored type:
// a String as its text and a zero, cut to fit at a character boundary; an Integer or
// IntegerList as the int32 elements that fit; a Byte as one byte. Returns the length copied
// (text bytes or elements), or -1 for an unknown type code or a missing section or key.
// A String asked for where a number is stored gives the number's decimal text (a list gives the
// empty text), so a text field always ends with a zero inside it. occurrence as for GetValue.
int SettingsGet(const char* sectionName, const char* keyName, SettingsType type, void* destination,
                size_t destinationSize, int backward, int occurrence = 0);
