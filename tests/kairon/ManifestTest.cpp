// The application manifest embedded in the built Kairon.exe, read back from the file: every
// element is there, where the loader looks for it, and the loader accepts it.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
// The manifest resource (type 24, id 1) of a program in the build folder.
std::string readManifest(const wchar_t* program = L"Kairon.exe")
{
    HMODULE exe = LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
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

// One element of the manifest: its path of local names from the root ("assembly/..."),
// its attributes and its text.
struct Element
{
    std::string path;
    std::map<std::string, std::string> attributes;
    std::string text;
};

std::string localName(const std::string& qualified)
{
    size_t colon = qualified.find(':');
    return colon == std::string::npos ? qualified : qualified.substr(colon + 1);
}

std::string trimmed(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// A small reader for the manifest's plain XML (no entities or CDATA in it): elements in
// document order; false when the tags do not nest.
bool readElements(const std::string& xml, std::vector<Element>* out)
{
    std::vector<size_t> open; // indexes into out
    std::vector<std::string> names;
    size_t i = 0;
    while (i < xml.size())
    {
        size_t lt = xml.find('<', i);
        std::string between = xml.substr(i, (lt == std::string::npos ? xml.size() : lt) - i);
        if (!open.empty())
            (*out)[open.back()].text += between;
        if (lt == std::string::npos)
            break;
        if (xml.compare(lt, 4, "<!--") == 0)
        {
            size_t end = xml.find("-->", lt);
            if (end == std::string::npos)
                return false;
            i = end + 3;
            continue;
        }
        size_t gt = xml.find('>', lt);
        if (gt == std::string::npos)
            return false;
        std::string tag = xml.substr(lt + 1, gt - lt - 1);
        i = gt + 1;
        if (tag.empty() || tag[0] == '?')
            continue;
        if (tag[0] == '/')
        {
            if (names.empty() || names.back() != localName(trimmed(tag.substr(1))))
                return false;
            names.pop_back();
            open.pop_back();
            continue;
        }
        bool selfClosing = tag.back() == '/';
        if (selfClosing)
            tag.pop_back();
        size_t nameEnd = tag.find_first_of(" \t\r\n");
        Element e;
        std::string name = localName(tag.substr(0, nameEnd));
        for (const std::string& n : names)
            e.path += n + "/";
        e.path += name;
        size_t p = nameEnd;
        while (p != std::string::npos && p < tag.size())
        {
            size_t eq = tag.find('=', p);
            if (eq == std::string::npos)
                break;
            std::string attr = trimmed(tag.substr(p, eq - p));
            size_t q1 = tag.find('"', eq), q2 = q1 == std::string::npos ? q1 : tag.find('"', q1 + 1);
            if (q2 == std::string::npos)
                return false;
            e.attributes[attr] = tag.substr(q1 + 1, q2 - q1 - 1);
            p = q2 + 1;
        }
        out->push_back(e);
        if (!selfClosing)
        {
            names.push_back(name);
            open.push_back(out->size() - 1);
        }
    }
    for (Element& e : *out)
        e.text = trimmed(e.text);
    return names.empty();
}

std::vector<const Element*> find(const std::vector<Element>& all, const std::string& path)
{
    std::vector<const Element*> found;
    for (const Element& e : all)
    {
        if (e.path == path)
            found.push_back(&e);
    }
    return found;
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
        ">PerMonitorV2, System</dpiAwareness>",
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
    };
    for (const char* part : expected)
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
}

TEST(Manifest, EveryElementSitsWhereTheLoaderLooksForIt)
{
    std::string xml = readManifest();
    ASSERT_FALSE(xml.empty()) << "no RT_MANIFEST 1 in Kairon.exe";
    std::vector<Element> all;
    ASSERT_TRUE(readElements(xml, &all)) << xml;
    ASSERT_FALSE(all.empty());
    EXPECT_EQ("assembly", all[0].path);
    EXPECT_EQ("urn:schemas-microsoft-com:asm.v1", all[0].attributes["xmlns"]);
    EXPECT_EQ("1.0", all[0].attributes["manifestVersion"]);

    // Common controls version 6 (visual styles).
    auto controls = find(all, "assembly/dependency/dependentAssembly/assemblyIdentity");
    ASSERT_EQ(1u, controls.size());
    EXPECT_EQ("Microsoft.Windows.Common-Controls", controls[0]->attributes.at("name"));
    EXPECT_EQ("6.0.0.0", controls[0]->attributes.at("version"));
    EXPECT_EQ("6595b64144ccf1df", controls[0]->attributes.at("publicKeyToken"));
    EXPECT_EQ("win32", controls[0]->attributes.at("type"));

    // asInvoker.
    auto level = find(all, "assembly/trustInfo/security/requestedPrivileges/requestedExecutionLevel");
    ASSERT_EQ(1u, level.size());
    EXPECT_EQ("asInvoker", level[0]->attributes.at("level"));
    EXPECT_EQ("false", level[0]->attributes.at("uiAccess"));
    EXPECT_EQ("urn:schemas-microsoft-com:asm.v3", find(all, "assembly/trustInfo")[0]->attributes.at("xmlns"));

    // Windows 7, 8, 8.1 and 10/11.
    std::set<std::string> systems;
    for (const Element* e : find(all, "assembly/compatibility/application/supportedOS"))
        systems.insert(e->attributes.at("Id"));
    EXPECT_EQ((std::set<std::string>{"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                     "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}),
              systems);
    EXPECT_EQ("urn:schemas-microsoft-com:compatibility.v1",
              find(all, "assembly/compatibility")[0]->attributes.at("xmlns"));

    // DPI awareness (per monitor v2, system-aware before it) and long paths, each in the
    // namespace in which the system reads it.
    struct Setting
    {
        const char* name;
        const char* ns;
        const char* value;
    } settings[] = {
        {"dpiAware", "http://schemas.microsoft.com/SMI/2005/WindowsSettings", "true"},
        {"dpiAwareness", "http://schemas.microsoft.com/SMI/2016/WindowsSettings", "PerMonitorV2, System"},
        {"longPathAware", "http://schemas.microsoft.com/SMI/2016/WindowsSettings", "true"},
    };
    for (const Setting& s : settings)
    {
        auto found = find(all, std::string("assembly/application/windowsSettings/") + s.name);
        ASSERT_EQ(1u, found.size()) << s.name;
        EXPECT_EQ(s.value, found[0]->text) << s.name;
        EXPECT_EQ(s.ns, found[0]->attributes.at("xmlns")) << s.name;
    }
}

TEST(Manifest, TheSystemBuildsAnActivationContextFromTheProgramsManifest)
{
    wchar_t full[MAX_PATH];
    ASSERT_NE(0u, GetFullPathNameW(L"Kairon.exe", MAX_PATH, full, nullptr));
    ACTCTXW ctx{};
    ctx.cbSize = sizeof(ctx);
    ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.lpSource = full;
    ctx.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE handle = CreateActCtxW(&ctx);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle) << GetLastError();

    // The settings the system reads from it, where this system can answer.
    using Query = BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*, SIZE_T, SIZE_T*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryActCtxSettingsW")));
    if (query)
    {
        struct Setting
        {
            const wchar_t* ns;
            const wchar_t* name;
            const wchar_t* value;
        } settings[] = {
            {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true"},
            {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, System"},
        };
        for (const Setting& s : settings)
        {
            wchar_t buffer[64] = {};
            SIZE_T written = 0;
            EXPECT_TRUE(query(0, handle, s.ns, s.name, buffer, 64, &written)) << s.name << " " << GetLastError();
            EXPECT_STREQ(s.value, buffer);
        }
    }
    ReleaseActCtx(handle);
}

TEST(Manifest, TheCommandLineFrontEndCarriesTheSameManifest)
{
    std::string program = readManifest();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program, readManifest(L"kairon-cli.exe"));
}
