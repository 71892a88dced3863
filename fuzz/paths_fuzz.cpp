// Fuzzes the path utilities with arbitrary Shift-JIS byte strings: reference finding and
// expansion into buffers of every small size, the folder prefix, the extension, the
// folder part and the trimming of a working folder. The outputs live in buffers of exactly the
// given size, so AddressSanitizer sees any write past them.
#include "base/path_utils.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A fixed environment: short and long values, one that holds a reference itself.
int FakeLookup(const char* name, char* out, int capacity) {
    std::string value;
    if (std::strcmp(name, "A") == 0) {
        value = "C:\\a";
    } else if (std::strcmp(name, "LONG") == 0) {
        value = std::string(3000, 'L');
    } else if (std::strcmp(name, "SELF") == 0) {
        value = "%SELF%";
    } else {
        return -1;
    }
    if (static_cast<int>(value.size()) < capacity)
        std::memcpy(out, value.c_str(), value.size() + 1);
    return static_cast<int>(value.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    int capacity = data[0] % 64 + 1;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    text = text.substr(0, std::strlen(text.c_str())); // paths are zero-terminated texts
    int length = static_cast<int>(text.size());

    int referenceLength = 0;
    int at = FindEnvironmentReference(text.c_str(), length, &referenceLength);
    if (at >= 0 && (at + referenceLength > length || referenceLength < 2)) std::abort();

    std::vector<char> dest(capacity);
    int result = ExpandReferencesWith(FakeLookup, dest.data(), capacity, text.c_str(), length);
    if (result != 1 && result != -1) std::abort();
    if (std::memchr(dest.data(), '\0', capacity) == nullptr) std::abort();

    int prefix = FolderPrefixLength(text.c_str());
    if (prefix < -1 || prefix > length) std::abort();
    int extension = ExtensionPosition(text.c_str());
    if (extension < -1 || extension > length) std::abort();
    IsShortcutPath(text.c_str());

    std::vector<char> folder(capacity);
    CopyFolderPart(folder.data(), folder.size(), text.c_str());
    if (std::memchr(folder.data(), '\0', folder.size()) == nullptr) std::abort();

    // A working folder loses at most its one final byte.
    std::vector<char> work(text.c_str(), text.c_str() + length + 1);
    TrimFinalSeparator(work.data());
    size_t trimmed = std::strlen(work.data());
    if (trimmed != static_cast<size_t>(length) && trimmed + 1 != static_cast<size_t>(length))
        std::abort();
    return 0;
}
