#pragma once
// The program's environment as a whole: its identity (software type, text base, version),
// its command line, its own path and resources (icon, pictures, language pack) and the
// settings store. Made once at start-up (s::app::win::AppBase::init), released at shutdown.
//
// Identity: the software type is one of the constants SOFTWARE_FREEWARE, SOFTWARE_SP and
// SOFTWARE_PRO, recognised by identity. The text base is the first language-pack id of the
// product's own texts: product name = base + 0, product page + 3, feedback page + 4,
// version + 10. The product's registry name is text REGISTRY_NAME_TEXT_ID.
//
// Ownership: everything answered by a getter stays with the application services and
// lives until they are released (icons, pictures, store, language pack, paths, command
// line). loadIcon, openFileSettings and openRegistrySettings answer new objects that the
// caller releases. Texts answered point into the object's own scratch strings, valid until
// the next call of the same kind.
// Thread affinity: made and released on the start-up thread; the window's thread reads it
// and uses the store through the window's settings object. No locking.

#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

struct HICON__;

namespace s::file::win {
class PathWin;
}
namespace s::gui::drawer {
class Skinner;
}
namespace s::image {
class IconResource;
class Image;
class Picture;
}
namespace s::lang {
class Localizer;
}
namespace s::map {
class IMappedData;
}
namespace s::process::commandline {
class ICommandLine;
}

namespace s::app {

class IAppBase : public s::base::IObject, public s::thread::IPoolable
{
public:
    static constexpr wchar_t SOFTWARE_FREEWARE[] = L"Freeware";
    static constexpr wchar_t SOFTWARE_SP[] = L"SP";
    static constexpr wchar_t SOFTWARE_PRO[] = L"Pro";

    /// Text bases by software type.
    static constexpr int32_t TEXT_BASE_FREEWARE = 500000;
    static constexpr int32_t TEXT_BASE_SP = 501000;
    static constexpr int32_t TEXT_BASE_PRO = 502000;
    /// Offsets of the product's texts from the text base.
    static constexpr int32_t TEXT_PRODUCT_NAME = 0;
    static constexpr int32_t TEXT_PRODUCT_PAGE = 3;
    static constexpr int32_t TEXT_FEEDBACK_PAGE = 4;
    static constexpr int32_t TEXT_VERSION = 10;
    /// The product's registry name ("Vesk Kairon"): its key is "Software\Vesk\" + this text.
    static constexpr int32_t REGISTRY_NAME_TEXT_ID = 300000;

    /// Resources of the program file.
    static constexpr int32_t ICON_RESOURCE = 128;
    static constexpr int32_t WIDE_PICTURE_RESOURCE = 131;  // 700 × 230
    static constexpr int32_t TALL_PICTURE_RESOURCE = 132;  // 230 × 700

    /// Sections (unnamed string values at the store's root) of the identity and choices.
    static constexpr wchar_t SECTION_SOFTWARE_TYPE[] = L"SoftwareType";
    static constexpr wchar_t SECTION_SOFTWARE_ID[] = L"SoftwareID";
    static constexpr wchar_t SECTION_VERSION[] = L"Version";
    static constexpr wchar_t SECTION_LANGUAGE[] = L"Language";
    static constexpr wchar_t SECTION_SKIN[] = L"Skin";

    /// The message that asks the first instance's window to come forward, and the second
    /// message that may follow it.
    static constexpr uint32_t MSG_ACTIVATE_INSTANCE = 0x0400 + 3;  // WM_USER + 3
    static constexpr uint32_t MSG_INSTANCE_SECOND = 0x0400 + 7;    // WM_USER + 7

    virtual const wchar_t* getSoftwareType() const = 0;
    virtual bool isFreeware() const = 0;
    virtual bool isSP() const = 0;
    virtual bool isPro() const = 0;

    /// The program file and the folder holding it; null before init.
    virtual s::file::win::PathWin* getProgramPath() = 0;
    virtual s::file::win::PathWin* getProgramFolder() = 0;
    virtual s::process::commandline::ICommandLine* getCommandLine() = 0;

    /// Icon resource ICON_RESOURCE; null when the program has none.
    virtual s::image::IconResource* getIconResource() = 0;
    /// Its 16 × 16, 32 × 32 and 64 × 64 images (exact size in 32-bit colour, else the
    /// nearest area; see IconResource); null without an icon.
    virtual HICON__* getSmallIcon() = 0;
    virtual HICON__* getLargeIcon() = 0;
    virtual HICON__* getHugeIcon() = 0;
    /// Another icon resource of the program file (a new object the caller releases), or null.
    virtual s::image::IconResource* loadIcon(int32_t number) = 0;

    virtual int32_t getTextBase() const = 0;
    /// The language pack; null before init.
    virtual s::lang::Localizer* getLocalizer() = 0;

    /// Picture WIDE_PICTURE_RESOURCE and its first image; null when missing or undecodable.
    virtual s::image::Image* getWidePictureImage() = 0;
    virtual s::image::Picture* getWidePicture() = 0;
    /// Picture TALL_PICTURE_RESOURCE and its first image; null when missing or undecodable.
    virtual s::image::Image* getTallPictureImage() = 0;
    virtual s::image::Picture* getTallPicture() = 0;

    /// The settings store; null before init.
    virtual s::map::IMappedData* getSettings() = 0;
    /// Flushes the store and notes that it has been flushed (release then does not again).
    virtual void flushSettings() = 0;

    virtual bool hasSkinner() const = 0;
    virtual s::gui::drawer::Skinner* getSkinner() = 0;

    /// The saved language ("Language"), by default the current language's English name.
    virtual const wchar_t* getSavedLanguage() = 0;
    virtual void setSavedLanguage(const wchar_t* englishName) = 0;
    /// The saved skin ("Skin"), by default empty.
    virtual const wchar_t* getSavedSkin() = 0;
    virtual void setSavedSkin(const wchar_t* name) = 0;

    /// True when another process of the same program file runs. With `signal` its main
    /// window (a top-level window of that process whose title and the product name, in one
    /// of the languages when `everyLanguage`, else in the current one, stand for each
    /// other) is asked to come forward with MSG_ACTIVATE_INSTANCE, followed by
    /// MSG_INSTANCE_SECOND when `secondMessage`. Waits at most a few seconds for that
    /// process to become idle and 3 seconds for its window to answer.
    virtual bool activateOtherInstance(bool signal, bool secondMessage, bool everyLanguage) = 0;
    /// The same, looking for the other process among the owners of the windows of the
    /// current desktop instead of the process list.
    virtual bool activateOtherInstanceOnDesktop(bool signal, bool secondMessage, bool everyLanguage) = 0;

    /// A new file store on "savedata\SaveData.xml" in the program's folder (caller releases).
    virtual s::map::IMappedData* openFileSettings() = 0;
    /// A new registry store on HKEY_CURRENT_USER "Software\Vesk\" + the registry name +
    /// "\SaveData" (caller releases).
    virtual s::map::IMappedData* openRegistrySettings() = 0;

    /// Opens the product page once after installation: only when the command line is empty
    /// and the product key's "Silent" value is true, which is then cleared.
    virtual void showFirstRunPage() = 0;
};

} // namespace s::app
