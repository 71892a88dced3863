// Connects the catalogue to the platform: icons, file attributes and shortcuts.
#pragma once

void InstallCatalogueServices();
