// Shell links and advertised (Windows Installer) shortcuts.
#pragma once

bool LoadMsiFunctions();
void FreeMsiFunctions();
