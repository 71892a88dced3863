#include "base/path_utils.h"

#include <cstring>

namespace {

// A byte of the upper half outside the one-byte katakana range starts a two-byte character.
bool IsLeadByte(unsigned char b) {
    return b >= 0x80 && (b < 0xA1 || b > 0xDF);
}

bool IsSeparator(unsigned char b) {
    return b == '\\' || b == '/';
}

// Appends n bytes when they fit whole below capacity; false when they do not.
bool AppendPiece(char* dest, int capacity, int* position, const char* piece, int n) {
    if (*position + n >= capacity) return false;
    std::memcpy(dest + *position, piece, static_cast<size_t>(n));
    *position += n;
    return true;
}

} // namespace

int FindEnvironmentReference(const char* text, int length, int* referenceLength) {
    int i = 0;
    while (i < length) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(b)) {
            i += 2;
            continue;
        }
        if (b != '%') {
            ++i;
            continue;
        }
        // The name runs to the next '%'; a separator or the end means it was no reference.
        int j = i + 1;
        while (j < length && text[j] != '%' && !IsSeparator(static_cast<unsigned char>(text[j])))
            ++j;
        if (j < length && text[j] == '%') {
            if (referenceLength) *referenceLength = j - i + 1;
            return i;
        }
        i = j + 1;
    }
    return -1;
}

int ExpandReferencesWith(EnvironmentLookup lookup, char* dest, int destCapacity, const char* source,
                         int sourceLength) {
    if (!dest || destCapacity <= 0) return -1;
    if (!source || sourceLength < 0) sourceLength = 0;
    int result = 1;
    int write = 0;
    int read = 0;
    char name[kEnvironmentNameSize];
    char value[kExpandedPathSize];
    while (write < destCapacity) {
        int referenceLength = 0;
        int found = FindEnvironmentReference(source + read, sourceLength - read, &referenceLength);
        if (found < 0) {
            if (!AppendPiece(dest, destCapacity, &write, source + read, sourceLength - read)) {
                result = -1;
            }
            break;
        }
        if (!AppendPiece(dest, destCapacity, &write, source + read, found)) {
            result = -1;
            break;
        }
        const char* reference = source + read + found;
        int nameLength = referenceLength - 2;
        // A name too long for the name buffer is treated as undefined and kept as written.
        int valueLength = -1;
        if (nameLength > 0 && nameLength < kEnvironmentNameSize && lookup) {
            std::memcpy(name, reference + 1, static_cast<size_t>(nameLength));
            name[nameLength] = '\0';
            valueLength = lookup(name, value, sizeof value);
        }
        bool fitted;
        if (valueLength >= 0) {
            // A value longer than the scratch buffer can never fit the output either.
            fitted = valueLength < static_cast<int>(sizeof value) &&
                     AppendPiece(dest, destCapacity, &write, value, valueLength);
        } else {
            fitted = AppendPiece(dest, destCapacity, &write, reference, referenceLength);
        }
        if (!fitted) {
            result = -1;
            break;
        }
        read += found + referenceLength;
    }
    dest[write < destCapacity ? write : destCapacity - 1] = '\0';
    return result;
}

int FolderPrefixLength(const char* path) {
    if (!path) return -1;
    int last = -1;
    for (int i = 0; path[i] != '\0'; ++i) {
        unsigned char b = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(b)) {
            if (path[i + 1] == '\0') break;
            ++i;
            continue;
        }
        if (IsSeparator(b) && path[i + 1] != '\0') last = i + 1;
    }
    return last;
}

int ExtensionPosition(const char* path) {
    if (!path) return -1;
    int i = static_cast<int>(std::strlen(path)) - 1;
    while (i >= 0) {
        unsigned char b = static_cast<unsigned char>(path[i]);
        if (b == '.') return i + 1;
        if (IsSeparator(b)) {
            // A separator byte after a lead byte is the second half of a two-byte character.
            if (i <= 1 || static_cast<unsigned char>(path[i - 1]) < 0x80) return -1;
            i -= 2;
            continue;
        }
        --i;
    }
    return -1;
}

bool IsShortcutPath(const char* path) {
    int p = ExtensionPosition(path);
    if (p < 0) return false;
    const char* ext = path + p;
    static const char kLnk[] = "lnk";
    for (int k = 0; k < 3; ++k) {
        char c = ext[k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kLnk[k]) return false; // also stops at the terminator
    }
    return true;
}

void TrimFinalSeparator(char* folder) {
    if (!folder) return;
    int last = -1;
    int n = 0;
    while (folder[n] != '\0') {
        last = n;
        n += IsLeadByte(static_cast<unsigned char>(folder[n])) && folder[n + 1] != '\0' ? 2 : 1;
    }
    // A 0x5C that ends a two-byte character (表, ソ, 能) is no separator.
    if (last < 0 || folder[last] != '\\') return;
    // A root keeps it: "C:" alone would name the drive's current folder, not its root.
    if (last == 0 || (last == 2 && folder[1] == ':')) return;
    folder[last] = '\0';
}

void CopyFolderPart(char* out, size_t capacity, const char* path) {
    if (!out || capacity == 0) return;
    if (!path) path = "";
    int prefix = FolderPrefixLength(path);
    size_t n = prefix > 0 ? static_cast<size_t>(prefix - 1) : std::strlen(path);
    // A root keeps its separator: "C:" alone names the drive's current folder, not its root.
    if (prefix > 0 && (n == 0 || (n == 2 && path[1] == ':'))) n = static_cast<size_t>(prefix);
    if (n >= capacity) n = capacity - 1;
    std::memmove(out, path, n);
    out[n] = '\0';
}
