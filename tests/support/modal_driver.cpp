#include "support/modal_driver.h"

namespace {

struct TitleSearch {
    const std::string* title;
    HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM param) {
    TitleSearch* search = reinterpret_cast<TitleSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (WindowText(window) == *search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindStaticText(HWND child, LPARAM param) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    // The message text is the static control without an icon.
    if (lstrcmpiA(cls, "Static") == 0 && !(GetWindowLongA(child, GWL_STYLE) & SS_ICON)) {
        std::string text = WindowText(child);
        if (!text.empty()) {
            *reinterpret_cast<std::string*>(param) = text;
            return FALSE;
        }
    }
    return TRUE;
}

} // namespace

std::string WindowText(HWND window) {
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, FindStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ModalDriver::Expect(const std::string& title, std::function<void(HWND)> act) {
    steps_.push_back(Step{title, std::move(act)});
}

void ModalDriver::ExpectMessageBox(const std::string& title, int buttonId) {
    Expect(title, [buttonId](HWND box) { PressButton(box, buttonId); });
}

void ModalDriver::Start() {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DWORD WINAPI ModalDriver::Run(void* self) {
    ModalDriver* driver = static_cast<ModalDriver*>(self);
    driver->allFound_ = true;
    for (Step& step : driver->steps_) {
        HWND found = nullptr;
        for (int tries = 0; tries < 200 && !found; ++tries) {
            TitleSearch search = {&step.title, nullptr};
            EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
            found = search.found;
            if (!found) Sleep(25);
        }
        if (!found) {
            driver->allFound_ = false;
            return 1;
        }
        Sleep(50); // let the dialog finish its initialisation
        driver->seen_.push_back(SeenDialog{step.title, MessageBoxText(found), found});
        step.act(found);
        // Wait until it is gone before looking for the next one.
        for (int tries = 0; tries < 200 && IsWindow(found) && IsWindowVisible(found); ++tries) {
            Sleep(25);
        }
    }
    return 0;
}

bool ModalDriver::Finish(DWORD timeoutMs) {
    if (!thread_) return false;
    bool finished = WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0;
    // A watcher still waiting for its window must not outlive the driver it reads.
    if (!finished) TerminateThread(thread_, 1);
    CloseHandle(thread_);
    thread_ = nullptr;
    return finished && allFound_;
}

ModalDriver::~ModalDriver() {
    if (thread_) Finish(5000);
}
