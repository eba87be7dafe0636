#include <windows.h>

#include <string>

#include "app/module_folder.h"
#include "app/native_platform.h"
#include "app/wide_text.h"

namespace scenario {

namespace {

constexpr wchar_t kProgramName[] = L"scenario_builder";
constexpr wchar_t kWindowClass[] = L"scenario_builder_wait";
constexpr wchar_t kCaption[] = L"Form1";
constexpr wchar_t kWaitText[] = L"Attendere";

// Sizes of the wait window in twips, 1440 to the inch.
constexpr int kTwipsPerInch = 1440;
constexpr int kClientWidth = 4200;
constexpr int kClientHeight = 2688;
constexpr int kLabelLeft = 960;
constexpr int kLabelTop = 960;
constexpr int kLabelWidth = 2652;
constexpr int kLabelHeight = 792;

constexpr wchar_t kFontFace[] = L"MS Sans Serif";
constexpr int kFontPoints = 24;
constexpr int kPointsPerInch = 72;

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;

struct Dpi {
    int x = 96;
    int y = 96;
};

Dpi screen_dpi() {
    Dpi dpi;
    if (HDC screen = GetDC(nullptr)) {
        dpi.x = GetDeviceCaps(screen, LOGPIXELSX);
        dpi.y = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

int to_pixels(int twips, int dpi) {
    return MulDiv(twips, dpi, kTwipsPerInch);
}

HINSTANCE this_module() {
    return GetModuleHandleW(nullptr);
}

bool register_window_class() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = this_module();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND create_main_window(const Dpi& dpi) {
    RECT frame{0, 0, to_pixels(kClientWidth, dpi.x), to_pixels(kClientHeight, dpi.y)};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    return CreateWindowExW(0, kWindowClass, kCaption, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           this_module(), nullptr);
}

HFONT create_label_font(const Dpi& dpi) {
    return CreateFontW(-MulDiv(kFontPoints, dpi.y, kPointsPerInch), 0, 0, 0, FW_BOLD, FALSE, FALSE,
                       FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFontFace);
}

HWND create_label(HWND parent, HFONT font, const Dpi& dpi) {
    HWND label = CreateWindowExW(0, L"STATIC", kWaitText, WS_CHILD | WS_VISIBLE | SS_LEFT,
                                 to_pixels(kLabelLeft, dpi.x), to_pixels(kLabelTop, dpi.y),
                                 to_pixels(kLabelWidth, dpi.x), to_pixels(kLabelHeight, dpi.y),
                                 parent, nullptr, this_module(), nullptr);
    if (label != nullptr && font != nullptr) {
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return label;
}

// Message boxes of the program: one OK button, no icon, the program's name
// as title, modal to the wait window while it is up.
void message_box(HWND owner, std::string_view text) {
    MessageBoxW(owner, to_wide(text).c_str(), kProgramName, MB_OK | MB_SETFOREGROUND);
}

}  // namespace

// The wait window and its label's font, alive between show_wait and hide_wait.
struct NativePlatform::State {
    HWND window = nullptr;
    HFONT font = nullptr;
};

NativePlatform::NativePlatform() : state_(std::make_unique<State>()) {}

NativePlatform::~NativePlatform() {
    hide_wait();
}

void NativePlatform::show_wait() {
    if (state_->window != nullptr) return;
    // Sizes follow the screen's real DPI rather than a scaled 96.
    SetProcessDPIAware();
    // Without a window the build runs all the same: the window only asks the
    // user to wait.
    if (!register_window_class()) return;
    const Dpi dpi = screen_dpi();
    state_->window = create_main_window(dpi);
    if (state_->window == nullptr) return;
    state_->font = create_label_font(dpi);
    create_label(state_->window, state_->font, dpi);
    ShowWindow(state_->window, SW_SHOWNORMAL);
    // The build processes no messages until it ends: paint the window and its
    // label now, or "Attendere" would never appear.
    RedrawWindow(state_->window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void NativePlatform::hide_wait() {
    if (state_->window != nullptr) DestroyWindow(state_->window);
    if (state_->font != nullptr) DeleteObject(state_->font);
    state_->window = nullptr;
    state_->font = nullptr;
}

void NativePlatform::show_fatal(std::string_view message) {
    message_box(state_->window, message);
}

void NativePlatform::report_file_failure(const FileError& error) {
    message_box(state_->window,
                "cannot " + error.operation + " " + error.path + ":\n" + error.reason);
}

// Users on Windows have no console: a recorded failure gets a box as well.
void NativePlatform::report_recorded_failure(std::string_view description) {
    message_box(state_->window, description);
}

std::string NativePlatform::program_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return ".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        // Truncated: long paths reach 32767 characters.
        path.resize(path.size() * 2);
    }
    const std::wstring_view folder = module_folder(path);
    return folder.empty() ? "." : to_utf8(folder);
}

char NativePlatform::separator() const {
    return '\\';
}

// Large pages need the right to lock memory, which a driver's account lacks.
std::pmr::memory_resource* NativePlatform::geometry_memory() {
    return std::pmr::new_delete_resource();
}

}  // namespace scenario
