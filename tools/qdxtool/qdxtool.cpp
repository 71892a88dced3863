// qdxtool: looks inside and repairs the launcher's settings file and icon cache archives
// without starting the launcher. Exit status: 0 success, 1 a verification failed or an item is
// missing, 2 a usage or file error; every failure prints one line on stderr.
#include "storage/atomic_file.h"
#include "storage/cache_archive.h"
#include "storage/settings_file.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

enum { kOk = 0, kFailed = 1, kUsage = 2 };

const char kUsageText[] =
    "usage: qdxtool ini dump FILE              list sections and keys as the launcher reads them\n"
    "       qdxtool ini rewrite IN OUT         read IN and write it as the launcher writes it\n"
    "       qdxtool arc verify FILE            compare the stored and computed checksum\n"
    "       qdxtool arc ls FILE                list folders (in saved order) and files\n"
    "       qdxtool arc new FILE               create an empty archive\n"
    "       qdxtool arc add FILE FOLDER NAME SRC   store the bytes of SRC as FOLDER\\NAME\n"
    "       qdxtool arc cat FILE FOLDER NAME   write the bytes of FOLDER\\NAME to stdout\n"
    "       qdxtool arc rm FILE FOLDER NAME    delete a file (an emptied leaf folder goes too)\n"
    "       qdxtool arc rmdir FILE FOLDER      delete a folder with everything below it\n"
    "       qdxtool arc mvdir FILE FOLDER NEWNAME  give a folder a new name\n"
    "Folders are paths such as Cache\\Work (\"/\" also separates; \"\" is the root).\n"
    "Exit status: 0 done, 1 verification failed or item missing, 2 usage or file error.\n";

int Fail(int status, const char* format, const char* detail) {
    std::fprintf(stderr, "qdxtool: ");
    std::fprintf(stderr, format, detail);
    std::fprintf(stderr, "\n");
    return status;
}

struct FileBytes {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    const unsigned char* bytes() const {
        return reinterpret_cast<const unsigned char*>(data.get());
    }
};

bool ReadInput(const char* path, FileBytes* out) {
    return ReadWholeFile(path, &out->data, &out->size, 1);
}

// ---- settings file

const char* TypeName(SettingsType type) {
    switch (type) {
    case SettingsType::Integer: return "Integer";
    case SettingsType::IntegerList: return "IntegerList";
    case SettingsType::String: return "String";
    case SettingsType::Byte: return "Byte";
    default: return "Empty";
    }
}

std::string ValueText(const SettingsKey& key) {
    std::string out;
    int32_t v;
    switch (key.type) {
    case SettingsType::Integer: std::memcpy(&v, key.value, 4); return std::to_string(v);
    case SettingsType::Byte: return std::to_string(*static_cast<const unsigned char*>(key.value));
    case SettingsType::IntegerList:
        out = "{";
        for (int32_t i = 0; i < key.length; ++i) {
            std::memcpy(&v, static_cast<const char*>(key.value) + 4 * i, 4);
            out += (i > 0 ? ", " : "") + std::to_string(v);
        }
        return out + "}";
    case SettingsType::String:
        out = "\"";
        AppendEscapedText(&out, static_cast<const char*>(key.value),
                          static_cast<size_t>(key.length));
        return out + "\"";
    default: return out;
    }
}

int IniDump(char** args) {
    FileBytes file;
    if (!ReadInput(args[0], &file)) return Fail(kUsage, "cannot read %s", args[0]);
    SettingsFile doc;
    doc.LoadBytes(file.data.get(), file.size);
    const SettingsSection* s = doc.FirstSection();
    if (!s) return kOk;
    do {
        std::printf("%s\n", s->name);
        const SettingsKey* k = s->firstKey;
        if (k->nameLength > 0 || k->type != SettingsType::Empty) do {
                std::printf("  %s (%s) = %s\n", k->name, TypeName(k->type), ValueText(*k).c_str());
                k = k->next;
            } while (k != s->firstKey);
        s = s->next;
    } while (s != doc.FirstSection());
    return kOk;
}

// The launcher's own header line is a comment; it is kept when the input starts with one.
void KeepCommentHeader(const FileBytes& file, SettingsFile* doc) {
    if (file.size == 0 || file.data[0] != ';') return;
    size_t end = 0;
    while (end < file.size && file.data[end] != '\n' && file.data[end] != '\0')
        ++end;
    if (end > 0 && file.data[end - 1] == '\r') --end;
    std::string header(file.data.get(), end);
    doc->SetHeader(header.c_str());
}

int IniRewrite(char** args) {
    FileBytes file;
    if (!ReadInput(args[0], &file)) return Fail(kUsage, "cannot read %s", args[0]);
    SettingsFile doc;
    doc.LoadBytes(file.data.get(), file.size);
    KeepCommentHeader(file, &doc);
    if (!doc.Save(args[1])) return Fail(kUsage, "cannot write %s", args[1]);
    return kOk;
}

// ---- cache archives

// Loads FILE into archive 0 after checking it; refuses a damaged or foreign file.
int OpenArchive(const char* path, bool forChange) {
    FileBytes file;
    if (!ReadInput(path, &file)) return Fail(kUsage, "cannot read %s", path);
    if (CacheValidateBytes(file.bytes(), file.size) != 1)
        return Fail(kFailed,
                    forChange ? "%s: checksum mismatch, not changed" : "%s: checksum mismatch",
                    path);
    uint32_t magic = file.bytes()[0] | file.bytes()[1] << 8 | file.bytes()[2] << 16 |
                     static_cast<uint32_t>(file.bytes()[3]) << 24;
    if (magic != kCacheMagic) return Fail(kFailed, "%s: not a cache archive (wrong magic)", path);
    CacheArchive* archive = CacheArchiveAt(0);
    archive->magic = kCacheMagic;
    CacheLoadBytes(*archive, file.bytes(), file.size);
    return kOk;
}

int SaveArchive(const char* path) {
    if (CacheSave(0, path, kCacheMagic) <= 0) return Fail(kUsage, "cannot write %s", path);
    return kOk;
}

int ArcVerify(char** args) {
    FileBytes file;
    if (!ReadInput(args[0], &file)) return Fail(kUsage, "cannot read %s", args[0]);
    if (file.size < kCacheHeaderSize) {
        std::printf("%s: %lu bytes, shorter than the header: changed\n", args[0],
                    static_cast<unsigned long>(file.size));
        return kFailed;
    }
    const unsigned char* b = file.bytes();
    uint32_t stored = b[4] | b[5] << 8 | b[6] << 16 | static_cast<uint32_t>(b[7]) << 24;
    uint32_t magic = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
    uint32_t computed = CacheChecksum(b + 8, file.size - 8, kCacheChecksumStart);
    bool ok = stored == computed;
    std::printf("stored %08X computed %08X: %s\n", static_cast<unsigned>(stored),
                static_cast<unsigned>(computed), ok ? "ok" : "changed");
    if (ok && magic != kCacheMagic) {
        std::printf("magic %08X is not %08X: loads as empty\n", static_cast<unsigned>(magic),
                    static_cast<unsigned>(kCacheMagic));
        return kFailed;
    }
    return ok ? kOk : kFailed;
}

int ArcList(char** args) {
    int status = OpenArchive(args[0], false);
    if (status != kOk) return status;
    std::vector<CacheFolderRecord> folders;
    CacheFlatten(*CacheArchiveAt(0), &folders);
    for (const CacheFolderRecord& r : folders) {
        const CacheFileList* list = CacheFolderFiles(*r.folder);
        std::printf("[%s] %d files\n", r.path.c_str(), list ? list->count : 0);
        if (!list || !list->first) continue;
        CacheFile* f = list->first;
        do {
            std::printf("  %-40s %8d %08X\n", f->name, static_cast<int>(f->size),
                        static_cast<unsigned>(CacheFileDataHash(f)));
            f = f->next;
        } while (f != list->first);
    }
    return kOk;
}

int ArcNew(char** args) {
    if (std::FILE* existing = std::fopen(args[0], "rb")) {
        std::fclose(existing);
        return Fail(kUsage, "%s already exists", args[0]);
    }
    return SaveArchive(args[0]);
}

int ArcAdd(char** args) {
    FileBytes source;
    if (!ReadInput(args[3], &source)) return Fail(kUsage, "cannot read %s", args[3]);
    if (source.size > 0x7FFFFFFF) return Fail(kUsage, "%s is too large", args[3]);
    int status = OpenArchive(args[0], true);
    if (status != kOk) return status;
    if (CacheAddFile(0, args[1], args[2], static_cast<int32_t>(source.size), source.data.get()) !=
        1)
        return Fail(kFailed, "%s exists already or the name or folder is too long", args[2]);
    return SaveArchive(args[0]);
}

int ArcCat(char** args) {
    int status = OpenArchive(args[0], false);
    if (status != kOk) return status;
    CacheFile file;
    if (CacheGetFile(0, &file, args[1], args[2]) != 1)
        return Fail(kFailed, "%s not found", args[2]);
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    size_t size = static_cast<size_t>(file.size);
    bool written = size == 0 || std::fwrite(file.data, 1, size, stdout) == size;
    std::free(file.data);
    if (std::fflush(stdout) != 0 || !written) return Fail(kUsage, "cannot write %s", "stdout");
    return kOk;
}

int ArcRemove(char** args) {
    int status = OpenArchive(args[0], true);
    if (status != kOk) return status;
    if (CacheDeleteFile(0, args[1], args[2]) != 1) return Fail(kFailed, "%s not found", args[2]);
    return SaveArchive(args[0]);
}

int ArcRemoveFolder(char** args) {
    int status = OpenArchive(args[0], true);
    if (status != kOk) return status;
    if (CacheDeleteFolder(0, args[1]) != 1) return Fail(kFailed, "folder %s not found", args[1]);
    return SaveArchive(args[0]);
}

int ArcRenameFolder(char** args) {
    int status = OpenArchive(args[0], true);
    if (status != kOk) return status;
    if (CacheRenameFolder(0, args[1], args[2]) != 1)
        return Fail(kFailed,
                    "cannot rename folder %s (missing, or the new name is taken, empty, "
                    "holds a separator or makes a path too long)",
                    args[1]);
    return SaveArchive(args[0]);
}

struct Command {
    const char* group;
    const char* name;
    int argumentCount;
    int (*run)(char** args);
};

const Command kCommands[] = {
    {"ini", "dump", 1, IniDump},
    {"ini", "rewrite", 2, IniRewrite},
    {"arc", "verify", 1, ArcVerify},
    {"arc", "ls", 1, ArcList},
    {"arc", "new", 1, ArcNew},
    {"arc", "add", 4, ArcAdd},
    {"arc", "cat", 3, ArcCat},
    {"arc", "rm", 3, ArcRemove},
    {"arc", "rmdir", 2, ArcRemoveFolder},
    {"arc", "mvdir", 3, ArcRenameFolder},
};

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsageText, stdout);
        return kOk;
    }
    for (const Command& c : kCommands) {
        if (argc < 3 || std::strcmp(argv[1], c.group) != 0 || std::strcmp(argv[2], c.name) != 0)
            continue;
        if (argc - 3 != c.argumentCount) break;
        return c.run(argv + 3);
    }
    return Fail(kUsage, "%s", "unknown command or wrong number of arguments; see qdxtool --help");
}
