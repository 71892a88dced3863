#include "app/catalogue_services.h"

#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "commands/shortcuts.h"
#include "storage/entry_icons.h"

#include <cstring>

namespace {

bool ResolveShortcutTarget(const char* path, ShortcutTarget* out) {
    if (!IsShortcutPath(path)) return false;
    ShortcutInfo info;
    WIN32_FIND_DATAA findData;
    ZeroMemory(&info, sizeof info);
    if (!ResolveShortcut(path, &info, &findData)) return false;
    CopyField(out->target, sizeof out->target, info.target);
    CopyField(out->arguments, sizeof out->arguments, info.arguments);
    CopyField(out->workingFolder, sizeof out->workingFolder, info.workingFolder);
    return true;
}

bool StartFolder(char* out, size_t capacity, const char* path) {
    return StartFolderOf(out, static_cast<int>(capacity), path);
}

} // namespace

void InstallCatalogueServices() {
    CatalogueServices services = {};
    services.bindEntryIcon = BindEntryIcon;
    services.freeEntryIconBits = FreeEntryIconBits;
    services.freeTypeIcons = FreeTypeIcons;
    services.makeSnapshotHandles = MakeSnapshotHandles;
    services.pathAttributes = GetPathAttributes;
    services.resolveShortcut = ResolveShortcutTarget;
    services.startFolderOf = StartFolder;
    SetCatalogueServices(services);
}
