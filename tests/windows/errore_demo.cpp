// A stand-in for a build whose header check fails: it shows the wait window,
// calls `errore` with 1251 as the header check would, and ends as the
// builder then does. The end-to-end check dismisses the box and looks at the
// exit status and the folder. It writes no file.
#include "app/driver.h"
#include "app/native_platform.h"

int main() {
    scenario::NativePlatform platform;
    platform.show_wait();
    scenario::errore(platform, "1251");
    return scenario::kExitFatal;
}
