#pragma once
// The language pack of the program: every language with its texts, the current
// language and the listeners told about a change of language.
//
// The pack is an XML document (UTF-8, embedded as resource type "IDR_XML"):
//     <anyroot>
//       <languages><entry tagName="eng" engName="English" trueName="English"/>...</languages>
//       <entries><entry id="1001000"><eng>Drop Box</eng><deu>Ablagefeld</deu>...</entry>...</entries>
//     </anyroot>
// "languages" and "entries" are found by name without regard to case. Each entry's
// children are matched to languages by tag without regard to case (unknown tags
// are ignored); the first child's text is the fallback that every language
// without a text of its own receives, so in a pack whose entries start with
// English a missing translation shows in English. Ids beginning with a digit are
// numbers (their leading digits), any other id is a key (named texts).
//
// Texts are looked up by id in the current language: getText never answers null
// ("" for an id the language lacks). When no language has been selected yet the
// system's language (or else the first) becomes current on first use.
//
// Listeners (s::gui::events::IEventListener, not owned) get handleEvent(this, 0)
// once per change of language, on the thread that changed it. A listener may
// add or remove listeners (itself included) while being told: every other
// listener of that moment is still told once, unless it was removed before its
// turn; one added meanwhile is told from the next change on.
//
// Ownership: loadFromResource/loadFromDocument answer a new Localizer from the
// pool that the caller releases; it owns its LangPacks. Answers that point to
// texts stay valid until the Localizer is released.
// Threads: built and switched on one thread; getText/hasText may run on other
// threads meanwhile (the lists are only appended to while loading and the
// current language is switched atomically).

#include <atomic>
#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {
class ArrayP;
}
namespace s::gui::events {
class IEventListener;
}
namespace s::xml {
class Node;
}

namespace s::lang {

class LangPack;

class Localizer : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_lang_Localizer")
    S_POOLED(Localizer)

public:
    /// The pack's resource type and number in the program.
    static constexpr const wchar_t* RESOURCE_TYPE = L"IDR_XML";
    static constexpr int32_t RESOURCE_NUMBER = 130;

    Localizer();
    ~Localizer() override;

    /// Releases every language, forgets the current one and the listeners.
    void Reset() override;

    /// Reads the resource (module: an HMODULE, null = the program itself) as UTF-8
    /// XML, builds the languages and selects the system's language. A missing or
    /// unreadable resource gives a Localizer without languages. Never null unless
    /// memory ran out.
    static Localizer* loadFromResource(void* module, const wchar_t* type = RESOURCE_TYPE,
                                       int32_t number = RESOURCE_NUMBER);
    /// The same from a parsed document (its root element).
    static Localizer* loadFromDocument(const s::xml::Node* root);
    /// Appends the languages and texts of a parsed document; answers whether it had
    /// a "languages" element. Loading only: not while other threads read.
    bool build(const s::xml::Node* root);

    /// The text of id in the current language; "" when there is none. Never null.
    const wchar_t* getText(int32_t id);
    /// The current language has id and its text is not empty.
    bool hasText(int32_t id);
    /// The text of a key (named texts) in the current language, "" when none.
    const wchar_t* getNamedText(const wchar_t* key);

    /// The first language whose English name equals name ignoring case; failing
    /// that, for names beginning with "Chinese", "Portuguese" or "Serbian", the
    /// pack's variant of that language; else null.
    LangPack* findLanguage(const wchar_t* name) const;
    /// Selects name (with the fallbacks of findLanguage, then "English", then the
    /// first language); tells the listeners when the language changed.
    void selectLanguage(const wchar_t* name);
    /// Selects the language at index (ignored when out of range); tells the
    /// listeners when it changed.
    void selectLanguageIndex(uint32_t index);
    /// The current language (selecting the system's on first use); null without languages.
    LangPack* getCurrentLanguage();
    uint32_t getLanguageCount() const;
    /// The language at index (owned by the Localizer), or null.
    LangPack* getLanguage(uint32_t index) const;

    /// Null and listeners already registered are ignored.
    void addListener(s::gui::events::IEventListener* listener);
    void removeListener(s::gui::events::IEventListener* listener);
    uint32_t getListenerCount() const;

    /// The upper-case English name of the user's interface language
    /// (GetUserDefaultUILanguage), computed once per process.
    static const wchar_t* systemLanguageName();
    /// The upper-case English name for a language identifier, e.g. 0x0407 "GERMAN",
    /// 0x0404 "CHINESE_TRADITIONAL"; "Unknown" for identifiers without a name here.
    static const wchar_t* languageNameOf(uint16_t languageId);

private:
    Localizer(const Localizer&) = delete;
    Localizer& operator=(const Localizer&) = delete;

    LangPack* ensureCurrent();
    void makeCurrent(LangPack* language);

    s::col::_array::ArrayP* languages_;  // owned, elements released to LangPack::Pool()
    s::col::_array::ArrayP* listeners_;  // not owning
    std::atomic<LangPack*> current_{nullptr};
};

} // namespace s::lang
