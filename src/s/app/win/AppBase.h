#pragma once
// The application services on Windows (see s/app/IAppBase.h).
//
//     AppBase* app = AppBase::Acquire();
//     app->init(theApp);            // OLE, command line, path, icon, language pack,
//                                   // settings store, identity values, saved language
//     ...
//     app->Release();               // flushes the store (unless flushSettings ran) and
//                                   // releases everything
//
// init runs on the start-up thread in this order: OLE and COM security, software type
// "Freeware" and text base 500000, the command line, the program's own path and folder
// (read whole at any length), icon resource 128, the language pack ("IDR_XML" 130), the
// pictures ("IDR_JPG" 131 and 132), the registry store with auto-flush off, the identity
// values ("SoftwareType", "SoftwareID", "Version"), the saved language (selected, and
// written back when it had to change), then auto-flush on. A missing icon, picture or pack
// leaves its reference null; the program runs on. The pictures are decoded when first
// asked for (only the version window shows them), from any thread, under their own lock.
//
// Class identifier "s_app_win_AppBase"; pooled. Thread affinity: see IAppBase.

#include <mutex>

#include "mfc/afxwin.h"

#include "s/app/IAppBase.h"
#include "s/base/ClassId.h"
#include "s/thread/Pooled.h"

namespace s::str::strbuffer {
class StrBuffer;
}
namespace s::process::commandline::win {
class CommandLine;
}

namespace s::app::win {

class AppBase : public s::app::IAppBase
{
    S_CLASS_ID(L"s_app_win_AppBase")
    S_POOLED(AppBase)

public:
    /// Opens a web address with the shell; tests replace it so that no browser starts.
    /// Answers whether the address was handed over.
    using ShellOpenFunction = bool (*)(const wchar_t* address);
    /// Answers the previous function; null restores the shell's "open".
    static ShellOpenFunction setShellOpenFunction(ShellOpenFunction open);
    /// Hands `address` to the current function (the shell's "open" unless replaced); false
    /// for a null or empty address. Every page the program opens goes through here.
    static bool openAddress(const wchar_t* address);

    /// Flushes the store unless flushSettings ran, releases everything, balances the OLE
    /// initialisation of init, and goes back to "Freeware" and 500000.
    void Reset() override;

    /// Initialises the services (see above). `app` parses the command line (null: the
    /// application object, or the framework's parser alone). `productKey` replaces the
    /// product's registry key "Software\Vesk\" + registry name (below HKEY_CURRENT_USER;
    /// the store lives in its "SaveData" sub-key) — tests give a key of their own. False
    /// only when an object could not be made; missing resources are not failures.
    bool init(CWinApp* app, const wchar_t* productKey = nullptr);

    /// Writes the three identity values ("SoftwareType", "SoftwareID", "Version") of
    /// `softwareType` with the text base `textBase` into `settings`, under `prefix` and a
    /// backslash (null or empty: at the store's root). The texts come from `localizer`;
    /// without one they are written empty. Nothing happens without a store. The one writer
    /// of these values, for the application and for each window's settings.
    static void writeIdentity(s::map::IMappedData* settings, const wchar_t* prefix, const wchar_t* softwareType,
                              int32_t textBase, s::lang::Localizer* localizer);

    /// The product's registry key below HKEY_CURRENT_USER ("Software\Vesk\Vesk Kairon").
    const wchar_t* getProductKey() const;

    // --- IAppBase -------------------------------------------------------------------
    const wchar_t* getSoftwareType() const override { return softwareType_; }
    bool isFreeware() const override { return softwareType_ == SOFTWARE_FREEWARE; }
    bool isSP() const override { return softwareType_ == SOFTWARE_SP; }
    bool isPro() const override { return softwareType_ == SOFTWARE_PRO; }
    s::file::win::PathWin* getProgramPath() override { return programPath_; }
    s::file::win::PathWin* getProgramFolder() override { return programFolder_; }
    s::process::commandline::ICommandLine* getCommandLine() override;
    s::image::IconResource* getIconResource() override { return icon_; }
    HICON__* getSmallIcon() override;
    HICON__* getLargeIcon() override;
    HICON__* getHugeIcon() override;
    s::image::IconResource* loadIcon(int32_t number) override;
    int32_t getTextBase() const override { return textBase_; }
    s::lang::Localizer* getLocalizer() override { return localizer_; }
    s::image::Image* getWidePictureImage() override;
    s::image::Picture* getWidePicture() override;
    s::image::Image* getTallPictureImage() override;
    s::image::Picture* getTallPicture() override;
    s::map::IMappedData* getSettings() override { return settings_; }
    void flushSettings() override;
    bool hasSkinner() const override { return skinner_ != nullptr; }
    s::gui::drawer::Skinner* getSkinner() override { return skinner_; }
    const wchar_t* getSavedLanguage() override;
    void setSavedLanguage(const wchar_t* englishName) override;
    const wchar_t* getSavedSkin() override;
    void setSavedSkin(const wchar_t* name) override;
    bool activateOtherInstance(bool signal, bool secondMessage, bool everyLanguage) override;
    bool activateOtherInstanceOnDesktop(bool signal, bool secondMessage, bool everyLanguage) override;
    s::map::IMappedData* openFileSettings() override;
    s::map::IMappedData* openRegistrySettings() override;
    void showFirstRunPage() override;

protected:
    AppBase();
    ~AppBase() override;

private:
    // Icon of ICON_RESOURCE in the size wanted, made on first request and kept.
    HICON__* iconOfSize(HICON__*& cached, int32_t side);
    // Asks the window of process `processId` to come forward (see activateOtherInstance).
    void signalInstance(unsigned long processId, bool secondMessage, bool everyLanguage);

    s::str::strbuffer::StrBuffer* scratch_;
    s::str::strbuffer::StrBuffer* scratch2_;
    const wchar_t* softwareType_ = SOFTWARE_FREEWARE;
    int32_t textBase_ = TEXT_BASE_FREEWARE;
    s::process::commandline::win::CommandLine* commandLine_ = nullptr;
    s::file::win::PathWin* programPath_ = nullptr;
    s::file::win::PathWin* programFolder_ = nullptr;
    void* module_ = nullptr;  // the program's own resources (its module; not owned)
    s::lang::Localizer* localizer_ = nullptr;
    s::gui::drawer::Skinner* skinner_ = nullptr;  // none in this program
    s::image::IconResource* icon_ = nullptr;
    HICON__* smallIcon_ = nullptr;
    HICON__* largeIcon_ = nullptr;
    HICON__* hugeIcon_ = nullptr;
    // Decoded on first use (picture()); guarded by pictureLock_.
    s::image::Picture* picture(s::image::Picture*& slot, int32_t resource);
    std::mutex pictureLock_;
    s::image::Picture* widePicture_ = nullptr;
    s::image::Picture* tallPicture_ = nullptr;
    bool settingsFlushed_ = false;
    s::map::IMappedData* settings_ = nullptr;
    s::str::strbuffer::StrBuffer* defaultSkin_;
    s::str::strbuffer::StrBuffer* productKey_;
    bool oleInitialized_ = false;
};

} // namespace s::app::win
