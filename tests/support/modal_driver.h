// Answers modal dialogs and message boxes of this process the way a user would: a watcher
// thread waits for a window with a given title, records its texts, and presses a button or
// runs an action on it. Used around a call that blocks in a modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SeenDialog {
    std::string title;
    std::string text; // the message box's text (its static control), empty for dialogs
    HWND window = nullptr;
};

class ModalDriver {
  public:
    // Each step: wait for a visible top-level window of this process titled `title`, then
    // run `act` on it (from the watcher thread; post messages rather than send them).
    void Expect(const std::string& title, std::function<void(HWND)> act);
    // Presses the message box button with this id (IDYES, IDNO, IDOK ...).
    void ExpectMessageBox(const std::string& title, int buttonId);
    void Start();
    // Waits for the watcher; true when every step found its window.
    bool Finish(DWORD timeoutMs = 10000);
    const std::vector<SeenDialog>& Seen() const { return seen_; }
    ~ModalDriver();

  private:
    static DWORD WINAPI Run(void* self);
    struct Step {
        std::string title;
        std::function<void(HWND)> act;
    };
    std::vector<Step> steps_;
    std::vector<SeenDialog> seen_;
    HANDLE thread_ = nullptr;
    bool allFound_ = false;
};

// Texts of a window and of its children, for assertions.
std::string WindowText(HWND window);
std::string MessageBoxText(HWND box);
// Presses a push button of a dialog as a click does (BN_CLICKED to its parent).
void PressButton(HWND dialog, int id);
