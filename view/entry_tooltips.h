// Tooltip texts of the grid cells.
#pragma once

#include <windows.h>

void SupplyEntryTooltipText(NMHDR* header);
