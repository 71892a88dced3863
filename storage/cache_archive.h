// The icon cache archives: a tree of named folders holding named byte files, kept on disk as
// one file with a checksum and with equal contents stored once. Two archives exist for the
// whole run, addressed by index: 0 is "Cache.arc", 1 is "CacheUser.arc".
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum {
    kCacheNameField = 256,  // folder and file names: at most 255 bytes
    kCachePathField = 1024, // folder paths: at most 1023 bytes
    kCacheHeaderSize = 24,
};

const uint32_t kCacheMagic = 0x36A918DF;
const uint32_t kCacheChecksumStart = 0x38AB1743;

extern const uint32_t kCacheTable[256];

// The archive checksum: per byte (sign-extended) i = (h + b) & 255, h = (h >> 8 arithmetic) ^ T[i].
uint32_t CacheChecksum(const unsigned char* bytes, size_t size, uint32_t start);
// The content digest: two interleaved hashes (even and odd bytes) with a logical shift.
void CacheDigest(const unsigned char* bytes, size_t size, uint32_t* digest0, uint32_t* digest1);

// The bytes of an archive file as read; the files loaded from it point into them instead of
// holding copies, and the last of them to go releases the bytes.
struct CacheSharedBytes {
    char* bytes; // allocated with new[]
    size_t users;
    size_t size;
};

struct CacheFile {
    char name[kCacheNameField];
    int32_t size;
    uint32_t dataHash; // checksum of the data with start 0; read it through CacheFileDataHash
    // size bytes, null when size is 0. Never changed in place: a replaced file gets a buffer of
    // its own, so files loaded with equal contents stay independent.
    unsigned char* data;
    CacheSharedBytes* shared; // what data points into, or null when the buffer is the file's own
    int32_t index;
    CacheFile* next;
    CacheFile* prev;
    uint32_t nameHash;  // lets most name comparisons end at one number
    bool dataHashKnown; // dataHash is computed when first asked for
};

uint32_t CacheFileDataHash(CacheFile* file);

class CacheFileList {
  public:
    CacheFileList();
    virtual ~CacheFileList();
    CacheFileList(const CacheFileList&) = delete;
    CacheFileList& operator=(const CacheFileList&) = delete;

    CacheFile* first; // circular list in insertion order
    int32_t count;
    int32_t totalSize;
    int32_t recordSize; // sum of name length + 8 + size over the files
};

CacheFile* CacheListFind(const CacheFileList& list, const char* name);
CacheFile* CacheListFindIndex(const CacheFileList& list, int32_t index);
int32_t CacheListLargestSize(const CacheFileList& list);

class CacheFolder {
  public:
    CacheFolder();
    virtual ~CacheFolder(); // frees the files and all subfolders
    CacheFolder(const CacheFolder&) = delete;
    CacheFolder& operator=(const CacheFolder&) = delete;

    char name[kCacheNameField];
    // Created with the first file. The files of a loaded folder are made from the loaded
    // records when first asked for, so read them through CacheFolderFiles.
    mutable CacheFileList* files;
    int32_t position; // 0 for the root, then 1, 2, ... along the sibling list
    // The loaded file records not made into files yet: pendingCount records from pendingAt on
    // in pendingBytes, checked when they were loaded; pendingBytes is null when there are
    // none. (The count fills the gap after position: a wide archive holds many folders.)
    mutable uint32_t pendingCount;
    CacheFolder* next; // circular sibling list
    CacheFolder* prev;
    CacheFolder* firstChild;
    mutable CacheSharedBytes* pendingBytes;
    mutable size_t pendingAt;
};

// The folder's files, made from its loaded records first when needed; null when it never had
// any.
CacheFileList* CacheFolderFiles(const CacheFolder& folder);

class CacheArchive {
  public:
    CacheArchive();
    virtual ~CacheArchive();
    CacheArchive(const CacheArchive&) = delete;
    CacheArchive& operator=(const CacheArchive&) = delete;

    uint32_t magic;
    CacheFolder root; // empty name; the top-level folders are its siblings
    bool modified;    // set by every change, never cleared during the run
};

// One entry of the flattened tree: the folder and the path it is saved under.
struct CacheFolderRecord {
    std::string path;
    CacheFolder* folder;
};

// Pre-order, the root first: each folder, then its subfolders, then its next sibling.
void CacheFlatten(const CacheArchive& archive, std::vector<CacheFolderRecord>* out);
CacheFolder* CacheFindFolder(CacheArchive& archive, const char* path);
CacheFolder* CacheCreateFolderPath(CacheArchive& archive, const char* path);

// The operations on one archive object; the index-addressed functions below call these.
int CacheAddFile(CacheArchive& archive, const char* path, const char* name, int32_t size,
                 const void* data);
int CacheReplaceFile(CacheArchive& archive, const char* path, const char* name, int32_t size,
                     const void* data);
int CacheGetFile(CacheArchive& archive, CacheFile* destination, const char* path, const char* name);
int CacheHasFile(CacheArchive& archive, const char* path, const char* name);
int CacheDeleteFile(CacheArchive& archive, const char* path, const char* name);
int CacheDeleteFolder(CacheArchive& archive, const char* path);
int CacheRenameFolder(CacheArchive& archive, const char* path, const char* newName);
int CacheClear(CacheArchive& archive);
// 1 when the checksum at offset 4 matches the bytes from offset 8 on, else 0 (also for bytes
// too short to hold the header).
int CacheValidateBytes(const unsigned char* bytes, size_t size);
// Adds the folders and files of an archive file held in memory when its magic is the
// archive's. A record whose lengths or offsets leave the bytes ends the loading; what came
// before it stays loaded.
void CacheLoadBytes(CacheArchive& archive, const unsigned char* bytes, size_t size);
// The exact bytes of the archive file; false when the tree cannot be stored (over 4 GiB).
bool CacheSaveBytes(const CacheArchive& archive, std::string* out);

// The two process-wide archives.
int CacheArchiveAuto();
int CacheArchiveUser();
CacheArchive* CacheArchiveAt(int archive); // null for an index other than 0 or 1

int CacheAddFile(int archive, const char* path, const char* name, int32_t size, const void* data);
int CacheReplaceFile(int archive, const char* path, const char* name, int32_t size,
                     const void* data);
// The destination receives the name, size, data hash and a copy of the data (size + 1 bytes,
// zero-terminated, null for size 0) that the caller releases with std::free; its shared field
// is null.
int CacheGetFile(int archive, CacheFile* destination, const char* path, const char* name);
int CacheHasFile(int archive, const char* path, const char* name);
int CacheDeleteFile(int archive, const char* path, const char* name);
int CacheDeleteFolder(int archive, const char* path);
int CacheRenameFolder(int archive, const char* path, const char* newName);
int CacheClear(int archive);
// 1 when the file's checksum is right, 0 when it is wrong or the file is shorter than the
// header, -1 when it cannot be opened.
int CacheValidate(int archive, const char* filePath);
int CacheLoad(int archive, const char* filePath, uint32_t magic);
// Replaces the file with the whole tree; the number of bytes written, or 0 when the file could
// not be written (the previous file is then left as it was).
int CacheSave(int archive, const char* filePath, uint32_t magic);
int CacheIsModified(int archive);

// Start-up of one archive: a file whose checksum is right is loaded, a missing file leaves the
// archive empty, and a changed file is loaded only when loadChanged answers true (the program
// asks the user); otherwise the archive stays empty and counts as changed, so that the emptied
// archive replaces the file at the next save.
// Returns what CacheValidate said about the file.
int CacheStartUp(int archive, const char* filePath, bool (*loadChanged)(void* context),
                 void* context);
// CacheStartUp in two steps, so that the file can be read while the window is being made: the
// read loads a file whose checksum is right and keeps a changed one for the question, which the
// finish asks (on the thread that owns the window).
struct CacheStartUpRead {
    int verdict = -1;              // as CacheValidate
    bool unreadable = false;       // there, but could not be opened
    std::unique_ptr<char[]> bytes; // a changed file's contents, until the question is answered
    size_t size = 0;
};
void CacheReadAtStartUp(int archive, const char* filePath, CacheStartUpRead* read);
int CacheFinishStartUp(int archive, CacheStartUpRead* read, bool (*loadChanged)(void* context),
                       void* context);
// Shutdown of one archive: written only when it was changed during the run, and never over a
// file that was there at start-up but could not be read. 1 when written,
// 0 when unchanged or the file could not be written, -1 for a bad index.
int CacheShutDown(int archive, const char* filePath);
