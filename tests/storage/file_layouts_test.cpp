// The files on disk are the same whatever build writes them: a settings file and an archive
// built from fixed contents must match the committed bytes exactly, natively and in every
// Windows build (32-bit and 64-bit alike).
#include "catalogue/catalogue.h"
#include "storage/cache_archive.h"
#include "storage/menu_commands.h"
#include "storage/settings.h"
#include "storage/settings_catalogue.h"
#include "storage/settings_file.h"
#include "storage/settings_options.h"
#include "storage_test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The committed files lie in the source tree; Wine reaches it through drive Z:.
std::string ExpectedFile(const char* name) {
#ifdef _WIN32
    std::string prefix = "Z:";
#else
    std::string prefix;
#endif
    return prefix + QDX_SOURCE_DIR "/tests/storage/expected/" + name;
}

Entry MakeEntry(const char* path, const char* arg, const char* work, int count) {
    Entry record;
    std::memset(&record, 0, sizeof record);
    std::strcpy(record.FilePath, path);
    std::strcpy(record.Arg, arg);
    std::strcpy(record.WorkPath, work);
    std::strcpy(record.Comment, "メモ");
    record.Attribute = 0x20;
    record.Count = count;
    return record;
}

TEST(FileLayouts, SettingsFileIsTheCommittedBytes) {
    SettingsRelease();
    SettingsPrepare();
    ResetSettings();
    ApplyDefaultSettingValues(0x808080, 0);
    ClearMenuCommands();
    FillDefaultMenuCommands();
    FreeCatalogue();
    ClearCatalogue();
    SetCatalogueServices(CatalogueServices{});
    AddEntry("", MakeEntry("C:\\表\\tool.exe", "-v \"a b\"", "C:\\表", 7), 0, 0);
    AddEntry("", MakeEntry("D:\\docs", "", "D:\\", 0), 1, 0);
    SaveOptions();
    SaveMenu();
    SaveTabEntries(0, "ツール");
    std::string path = TestFolder() + "/qdx.ini";
    ASSERT_EQ(1, SettingsWrite(path.c_str(), kSettingsHeaderLine));
    EXPECT_EQ(ReadBytes(ExpectedFile("layouts.ini")), ReadBytes(path));
    FreeCatalogue();
    ClearMenuCommands();
    SettingsDocument().SetHeader(""); // the header outlives the document's contents
    SettingsRelease();
}

TEST(FileLayouts, ArchiveIsTheCommittedBytes) {
    CacheArchive archive;
    archive.magic = kCacheMagic;
    const char icon[] = "\x00\x01\x02\x03 icon bits \xFF\xFE";
    const char mask[] = "mask";
    ASSERT_EQ(1, CacheAddFile(archive, "Cache\\ツール\\C:\\表", "tool.exe", sizeof icon, icon));
    ASSERT_EQ(1, CacheAddFile(archive, "Cache\\ツール\\C:\\表", "tool.exe_Mask", 4, mask));
    // The same bytes under another name are stored once.
    ASSERT_EQ(1, CacheAddFile(archive, "Cache\\ツール\\D:", "docs", sizeof icon, icon));
    ASSERT_EQ(1, CacheAddFile(archive, "Type", ".txt", 4, mask));
    std::string bytes;
    ASSERT_TRUE(CacheSaveBytes(archive, &bytes));
    EXPECT_EQ(ReadBytes(ExpectedFile("layouts.arc")), bytes);
    EXPECT_EQ(
        1, CacheValidateBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

} // namespace
