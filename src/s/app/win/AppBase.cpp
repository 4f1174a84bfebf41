#include "s/app/win/AppBase.h"

#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>

#include <atomic>

#include "s/file/win/PathWin.h"
#include "s/gui/drawer/Skinner.h"
#include "s/image/IconResource.h"
#include "s/image/Picture.h"
#include "s/sys/StepProfile.h"
#include "s/lang/LangPack.h"
#include "s/lang/Localizer.h"
#include "s/process/commandline/win/CommandLine.h"
#include "s/process/win/Processes.h"
#include "s/reg/MappedData.h"
#include "s/reg/win/RegDir.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/MappedData.h"

using s::file::win::PathWin;
using s::image::IconResource;
using s::image::Image;
using s::image::Picture;
using s::lang::LangPack;
using s::lang::Localizer;
using s::map::IMappedData;
using s::process::commandline::ICommandLine;
using s::process::commandline::win::CommandLine;
using s::str::strbuffer::StrBuffer;

namespace s::app::win {

namespace {

// The services' members go back to these pools when the AppBase pool is destroyed at exit.
const bool g_memberPoolsMadeFirst = (StrBuffer::Pool(), PathWin::Pool(), CommandLine::Pool(), Localizer::Pool(),
                                     IconResource::Pool(), Picture::Pool(), s::reg::MappedData::Pool(), true);

// How long a second start waits for the first instance to become idle: a hung first
// instance must not hang every later start.
constexpr DWORD kIdleWaitMs = 5000;
// SMTO_BLOCK | SMTO_ABORTIFHUNG | SMTO_NOTIMEOUTIFNOTHUNG, and how long a window may take.
constexpr UINT kSendFlags = 11;
constexpr UINT kSendTimeoutMs = 3000;

constexpr wchar_t kVendorKey[] = L"Software\\Vesk\\";
constexpr wchar_t kSaveDataKey[] = L"\\SaveData";
constexpr wchar_t kFileStorePath[] = L"savedata\\SaveData.xml";
constexpr wchar_t kSilentValue[] = L"Silent";

bool ShellOpen(const wchar_t* address)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = address;
    info.nShow = SW_SHOW;
    return ShellExecuteExW(&info) != FALSE;
}

std::atomic<AppBase::ShellOpenFunction> g_shellOpen{nullptr};

} // namespace

AppBase::ShellOpenFunction AppBase::setShellOpenFunction(ShellOpenFunction open)
{
    return g_shellOpen.exchange(open);
}

bool AppBase::openAddress(const wchar_t* address)
{
    if (address == nullptr || *address == L'\0')
        return false;
    ShellOpenFunction open = g_shellOpen.load();
    return (open ? open : &ShellOpen)(address);
}

AppBase::AppBase()
    : scratch_(StrBuffer::Acquire()), scratch2_(StrBuffer::Acquire()), defaultSkin_(StrBuffer::Acquire()),
      productKey_(StrBuffer::Acquire())
{
    (void)g_memberPoolsMadeFirst;
}

AppBase::~AppBase()
{
    Reset();
    for (StrBuffer* text : {scratch_, scratch2_, defaultSkin_, productKey_})
    {
        if (text)
            text->Release();
    }
}

void AppBase::Reset()
{
    if (settings_)
    {
        if (!settingsFlushed_)
            settings_->flush();
        settings_->Release();
        settings_ = nullptr;
    }
    settingsFlushed_ = false;
    if (commandLine_)
        commandLine_->Release();
    commandLine_ = nullptr;
    if (programPath_)
        programPath_->Release();
    programPath_ = nullptr;
    if (programFolder_)
        programFolder_->Release();
    programFolder_ = nullptr;
    module_ = nullptr;
    for (HICON__** icon : {&smallIcon_, &largeIcon_, &hugeIcon_})
    {
        if (*icon)
            DestroyIcon(*icon);
        *icon = nullptr;
    }
    if (icon_)
        icon_->Release();
    icon_ = nullptr;
    if (widePicture_)
        widePicture_->Release();
    widePicture_ = nullptr;
    if (tallPicture_)
        tallPicture_->Release();
    tallPicture_ = nullptr;
    if (localizer_)
        localizer_->Release();
    localizer_ = nullptr;
    if (skinner_)
        skinner_->Release(); // forgets its listeners first
    skinner_ = nullptr;
    for (StrBuffer* text : {scratch_, scratch2_, defaultSkin_, productKey_})
    {
        if (text)
            text->Clear();
    }
    softwareType_ = SOFTWARE_FREEWARE;
    textBase_ = TEXT_BASE_FREEWARE;
    if (oleInitialized_)
        OleUninitialize();
    oleInitialized_ = false;
}

bool AppBase::init(CWinApp* app, const wchar_t* productKey)
{
    Reset();
    if (!scratch_ || !scratch2_ || !defaultSkin_ || !productKey_)
        return false;

    // 1. OLE for drag and drop and the shell; COM security as the platform's controls want it.
    oleInitialized_ = AfxOleInit() != FALSE;
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                         EOAC_NONE, nullptr);
    AfxEnableControlContainer();
    s::sys::StepProfile::mark(L"OLE and COM");

    // 2. Identity.
    softwareType_ = SOFTWARE_FREEWARE;
    textBase_ = TEXT_BASE_FREEWARE;

    // 3. Command line.
    commandLine_ = CommandLine::Acquire();
    if (!commandLine_)
        return false;
    commandLine_->parse(app);

    // 4. Own path, folder, resources and icon.
    if (s::process::win::ModuleFileNameInto(nullptr, scratch_))
    {
        programPath_ = PathWin::FromText(scratch_->CStr());
        programFolder_ = programPath_ ? programPath_->GetParent() : nullptr;
    }
    HMODULE module = GetModuleHandleW(nullptr);
    module_ = module;
    icon_ = IconResource::load(module, ICON_RESOURCE);
    s::sys::StepProfile::mark(L"command line, paths and icon");

    // 5. Language pack; no skin manager in this program.
    localizer_ = Localizer::loadFromResource(module);
    if (!localizer_)
        return false;
    s::sys::StepProfile::mark(L"language pack loaded");

    // 6. Pictures: decoded when first asked for.

    // 7. Settings store, written in one batch.
    if (productKey && *productKey)
    {
        productKey_->Assign(productKey);
    }
    else
    {
        productKey_->Assign(kVendorKey);
        const wchar_t* registryName = localizer_->getText(REGISTRY_NAME_TEXT_ID);
        // Without a language pack the product's registry name is unknown; the program
        // file's title keeps its settings apart from every other product of the vendor.
        if (*registryName)
            productKey_->Append(registryName);
        else
            productKey_->Append(programPath_ ? programPath_->GetTitle() : L"Unnamed");
    }
    settings_ = openRegistrySettings();
    if (!settings_)
        return false;
    settings_->setAutoFlush(false);

    // 8. Identity values.
    writeIdentity(settings_, nullptr, softwareType_, textBase_, localizer_);

    // 9. Saved language: selected; written back when it had to change.
    scratch2_->Assign(getSavedLanguage());
    localizer_->selectLanguage(scratch2_->CStr());
    if (LangPack* current = localizer_->getCurrentLanguage())
    {
        if (!scratch2_->EqualsIgnoreCase(current->getEngName()))
            setSavedLanguage(current->getEngName());
    }

    // 10. Saved skin: only with a skin manager (this program has none); selecting tells its
    // listeners when the scheme changed.
    if (skinner_)
        skinner_->selectScheme(getSavedSkin());

    // 11.
    settings_->setAutoFlush(true);
    return true;
}

const wchar_t* AppBase::getProductKey() const
{
    return productKey_ ? productKey_->CStr() : L"";
}

void AppBase::writeIdentity(IMappedData* settings, const wchar_t* prefix, const wchar_t* softwareType,
                            int32_t textBase, Localizer* localizer)
{
    if (!settings)
        return;
    StrBuffer* section = StrBuffer::Acquire();
    if (!section)
        return;
    const struct
    {
        const wchar_t* name;
        const wchar_t* value;
    } values[] = {
        {SECTION_SOFTWARE_TYPE, softwareType ? softwareType : L""},
        {SECTION_SOFTWARE_ID, localizer ? localizer->getText(REGISTRY_NAME_TEXT_ID) : L""},
        {SECTION_VERSION, localizer ? localizer->getText(textBase + TEXT_VERSION) : L""},
    };
    for (const auto& value : values)
    {
        section->Clear();
        if (prefix && *prefix)
        {
            section->Append(prefix);
            section->AppendChar(L'\\');
        }
        section->Append(value.name);
        settings->setString(section->CStr(), L"", value.value);
    }
    section->Release();
}

ICommandLine* AppBase::getCommandLine()
{
    return commandLine_;
}

HICON__* AppBase::iconOfSize(HICON__*& cached, int32_t side)
{
    if (!cached && icon_)
        cached = icon_->createIcon(side, side);
    return cached;
}

HICON__* AppBase::getSmallIcon()
{
    return iconOfSize(smallIcon_, 16);
}

HICON__* AppBase::getLargeIcon()
{
    return iconOfSize(largeIcon_, 32);
}

HICON__* AppBase::getHugeIcon()
{
    return iconOfSize(hugeIcon_, 64);
}

IconResource* AppBase::loadIcon(int32_t number)
{
    return IconResource::load(static_cast<HMODULE>(module_), number);
}

Picture* AppBase::picture(Picture*& slot, int32_t resource)
{
    std::lock_guard<std::mutex> guard(pictureLock_);
    if (!slot && module_)
        slot = Picture::fromResource(static_cast<HMODULE>(module_), Picture::TYPE_JPEG, resource);
    return slot;
}

Picture* AppBase::getWidePicture()
{
    return picture(widePicture_, WIDE_PICTURE_RESOURCE);
}

Picture* AppBase::getTallPicture()
{
    return picture(tallPicture_, TALL_PICTURE_RESOURCE);
}

Image* AppBase::getWidePictureImage()
{
    Picture* picture = getWidePicture();
    return picture ? picture->getFirstImage() : nullptr;
}

Image* AppBase::getTallPictureImage()
{
    Picture* picture = getTallPicture();
    return picture ? picture->getFirstImage() : nullptr;
}

void AppBase::flushSettings()
{
    if (!settings_)
        return;
    settings_->flush();
    settingsFlushed_ = true;
}

const wchar_t* AppBase::getSavedLanguage()
{
    const wchar_t* current = L"";
    if (localizer_)
    {
        if (LangPack* language = localizer_->getCurrentLanguage())
            current = language->getEngName();
    }
    if (!settings_)
        return current;
    // The store's answer lives only until its next read: keep a copy.
    scratch_->Assign(settings_->getString(SECTION_LANGUAGE, L"", current, nullptr, false));
    return scratch_->CStr();
}

void AppBase::setSavedLanguage(const wchar_t* englishName)
{
    if (settings_)
        settings_->setString(SECTION_LANGUAGE, L"", englishName);
}

const wchar_t* AppBase::getSavedSkin()
{
    if (!settings_)
        return defaultSkin_->CStr();
    scratch_->Assign(settings_->getString(SECTION_SKIN, L"", defaultSkin_->CStr(), nullptr, false));
    // A scheme the skin manager does not know (renamed, or from another version) gives the default.
    if (skinner_ && skinner_->getSchemeIndex(scratch_->CStr()) < 0)
        return defaultSkin_->CStr();
    return scratch_->CStr();
}

void AppBase::setSavedSkin(const wchar_t* name)
{
    if (settings_)
        settings_->setString(SECTION_SKIN, L"", name);
}

bool AppBase::activateOtherInstance(bool signal, bool secondMessage, bool everyLanguage)
{
    if (!programPath_)
        return false;
    const DWORD other = s::process::win::FindOtherProcessOf(programPath_->GetFullPath());
    if (other == 0)
        return false;
    if (signal)
        signalInstance(other, secondMessage, everyLanguage);
    return true;
}

bool AppBase::activateOtherInstanceOnDesktop(bool signal, bool secondMessage, bool everyLanguage)
{
    if (!programPath_)
        return false;
    const DWORD other = s::process::win::FindOtherProcessOnDesktopOf(programPath_->GetFullPath());
    if (other == 0)
        return false;
    if (signal)
        signalInstance(other, secondMessage, everyLanguage);
    return true;
}

void AppBase::signalInstance(unsigned long processId, bool secondMessage, bool everyLanguage)
{
    if (HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, processId))
    {
        WaitForInputIdle(process, kIdleWaitMs);
        CloseHandle(process);
    }
    if (!localizer_)
        return;
    // The window's title is the product name (and its version) in the language that
    // instance shows, which need not be ours: try the name in each language in turn. One
    // window found is enough; asking it again per language would only repeat the request.
    const uint32_t count = everyLanguage ? localizer_->getLanguageCount() : 1;
    for (uint32_t i = 0; i < count; ++i)
    {
        LangPack* language = everyLanguage ? localizer_->getLanguage(i) : localizer_->getCurrentLanguage();
        const wchar_t* name = language ? language->findText(textBase_ + TEXT_PRODUCT_NAME) : nullptr;
        HWND window = s::process::win::FindWindowOfProcess(processId, name ? name : L"");
        if (!window)
            continue;
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, MSG_ACTIVATE_INSTANCE, 0, 0, kSendFlags, kSendTimeoutMs, &answer);
        if (secondMessage)
            SendMessageTimeoutW(window, MSG_INSTANCE_SECOND, 0, 0, kSendFlags, kSendTimeoutMs, &answer);
        return;
    }
}

IMappedData* AppBase::openFileSettings()
{
    if (!programFolder_)
        return s::xml::openFileStore(nullptr);
    PathWin* file = PathWin::FromFolderAndName(programFolder_->GetFullPath(), kFileStorePath);
    IMappedData* store = s::xml::openFileStore(file ? file->GetFullPath() : nullptr);
    if (file)
        file->Release();
    return store;
}

IMappedData* AppBase::openRegistrySettings()
{
    scratch2_->Assign(getProductKey());
    scratch2_->Append(kSaveDataKey);
    return s::reg::openRegistryStore(scratch2_->CStr());
}

void AppBase::showFirstRunPage()
{
    if (!commandLine_ || commandLine_->getArgumentCount() != 0 || !localizer_)
        return;
    s::reg::win::RegDir* product = s::reg::win::RegDir::Acquire();
    if (!product)
        return;
    // A Boolean of the product's own key that an installer may set; the program only
    // clears it, so the page opens once.
    if (product->open(HKEY_CURRENT_USER, getProductKey()) && product->getBool(kSilentValue, false))
    {
        product->setBool(kSilentValue, false);
        const wchar_t* page = localizer_->getText(textBase_ + TEXT_PRODUCT_PAGE);
        openAddress(page);
    }
    product->Release();
}

} // namespace s::app::win
