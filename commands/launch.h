// Launching entries.
#pragma once

void LaunchSelectedEntry();
