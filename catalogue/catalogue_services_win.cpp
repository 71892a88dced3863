#include "catalogue/catalogue_services.h"

#include "catalogue/catalogue.h"

void InstallCatalogueServices() {
    // Icons, attributes and shortcut resolution are not connected yet.
    SetCatalogueServices(CatalogueServices{});
}
