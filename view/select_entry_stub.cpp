// Placeholder until the grid's cursor selection is merged; it moves nothing.
void SelectEntryIndex(int) {}
