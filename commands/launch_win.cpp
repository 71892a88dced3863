#include "commands/launch.h"

void LaunchSelectedEntry() {
    // Launching is not built yet.
}
