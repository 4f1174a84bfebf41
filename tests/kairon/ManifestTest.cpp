// The application manifest embedded in the built Kairon.exe, read back from the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace
{
// The manifest resource (type 24, id 1) of the program in the build folder.
std::string readManifest()
{
    HMODULE exe = LoadLibraryExW(L"Kairon.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!exe)
        return {};
    std::string text;
    if (HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
    {
        if (HGLOBAL loaded = LoadResource(exe, found))
            text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(exe, found));
    }
    FreeLibrary(exe);
    return text;
}
} // namespace

TEST(Manifest, TheProgramCarriesEveryElement)
{
    std::string manifest = readManifest();
    ASSERT_FALSE(manifest.empty()) << "no manifest in Kairon.exe";
    const char* expected[] = {
        // visual styles
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
        // long paths
        "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true</longPathAware>",
        // Windows 7, 8, 8.1, 10 and 11
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
        // the user's own rights
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        // per-monitor v2, with the system's DPI where that is unknown
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
    };
    for (const char* part : expected)
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
}
