// Prints what a message box on the screen says, so that the end-to-end check
// can compare the text exactly instead of reading pixels.
//
//   message_box_text TITLE [SECONDS]
//
// Waits up to SECONDS (default 30) for a message box captioned TITLE, then
// prints its message on the first line and one line "button: <caption>" for
// each of its buttons. Exit status 0 when found, 1 when not.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/wide_text.h"

namespace {

// The class of dialog windows, and the control that holds a message box's text.
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kMessageTextId = 0xFFFF;
constexpr DWORD kPollMilliseconds = 100;

std::string window_text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return scenario::to_utf8(text);
}

BOOL CALLBACK print_button(HWND child, LPARAM) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, L"Button") == 0) std::printf("button: %s\n", window_text(child).c_str());
    return TRUE;
}

HWND wait_for_box(const std::wstring& title, int seconds) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    for (;;) {
        if (HWND box = FindWindowW(kDialogClass, title.c_str())) return box;
        if (static_cast<int>(deadline - GetTickCount()) <= 0) return nullptr;
        Sleep(kPollMilliseconds);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: message_box_text TITLE [SECONDS]\n");
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    HWND box = wait_for_box(scenario::to_wide(argv[1]), seconds);
    if (box == nullptr) return 1;
    std::printf("%s\n", window_text(GetDlgItem(box, kMessageTextId)).c_str());
    EnumChildWindows(box, print_button, 0);
    return 0;
}
