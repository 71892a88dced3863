#include "view/entry_tooltips.h"

void SupplyEntryTooltipText(NMHDR*) {
    // Entry details in the cell tooltips are not built yet.
}
