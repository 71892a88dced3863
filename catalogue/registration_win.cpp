#include "catalogue/registration.h"

#include <shellapi.h>

void OnDropFiles(HWND, HDROP drop) {
    // Registering dropped files is not built yet; the drop handle is still released.
    DragFinish(drop);
}
