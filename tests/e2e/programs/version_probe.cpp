// Prints the version record GetVersionExA fills, as the product sees it (same manifest,
// same architecture): major, minor, build, platform and service-pack text, one per line.
#include <windows.h>

#include <cstdio>

int main()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) {
        std::fprintf(stderr, "version_probe: GetVersionExA failed (error %lu)\n", GetLastError());
        return 1;
    }
    std::printf("%lu\n%lu\n%lu\n%lu\n%s\n", version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber,
                version.dwPlatformId, version.szCSDVersion);
    return 0;
}
