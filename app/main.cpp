#include "app/disk.h"
#include "app/driver.h"
#include "app/native_platform.h"

int main() {
    scenario::NativePlatform platform;
    scenario::DiskFileSystem disk;
    return scenario::run_builder(platform, disk);
}
