// Tooltip texts of the grid cells.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Answers the tooltip's TTN_NEEDTEXTA for the cell under the pointer.
void SupplyEntryTooltipText(NMHDR* header);
// Fills the request for the cell under a client point: the entry's details, or the current
// tab's name over an empty cell. The text stays valid until the next request.
void ComposeEntryTooltip(NMTTDISPINFOA* info, POINT pointer);
// A tip on screen is asked for its text again: a still pointer's cell holds another entry
// after a scroll, a tab switch or a style change.
void RefreshShownTooltip();
