#include "s/lang/Localizer.h"

#include <windows.h>

#include <cwchar>

#include "s/col/_array/ArrayP.h"
#include "s/gui/events/IEventListener.h"
#include "s/lang/LangPack.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/Node.h"

namespace s::lang {

using s::col::_array::ArrayP;
using s::str::strbuffer::StrBuffer;
using s::xml::Node;

namespace {

bool StartsWithIgnoreCase(const wchar_t* text, const wchar_t* prefix)
{
    return _wcsnicmp(text, prefix, wcslen(prefix)) == 0;
}

// The language's text of an entry child (decoded element text), "" without one.
void ChildText(const Node* child, StrBuffer* out)
{
    child->getText(out, L"", L"", false);
}

struct PrimaryName
{
    uint16_t primary;
    const wchar_t* name;
};

// Primary languages whose every identifier has the same name.
constexpr PrimaryName PRIMARY_NAMES[] = {
    {0x01, L"ARABIC"},     {0x02, L"BULGARIAN"},  {0x05, L"CZECH"},      {0x06, L"DANISH"},
    {0x07, L"GERMAN"},     {0x08, L"GREEK"},      {0x09, L"ENGLISH"},    {0x0A, L"SPANISH"},
    {0x0B, L"FINNISH"},    {0x0C, L"FRENCH"},     {0x0D, L"HEBREW"},     {0x0E, L"HUNGARIAN"},
    {0x0F, L"ICELANDIC"},  {0x10, L"ITALIAN"},    {0x11, L"JAPANESE"},   {0x12, L"KOREAN"},
    {0x13, L"DUTCH"},      {0x14, L"NORWEGIAN"},  {0x15, L"POLISH"},     {0x18, L"ROMANIAN"},
    {0x19, L"RUSSIAN"},    {0x1B, L"SLOVAK"},     {0x1C, L"ALBANIAN"},   {0x1D, L"SWEDISH"},
    {0x1E, L"THAI"},       {0x1F, L"TURKISH"},    {0x20, L"URDU"},       {0x21, L"INDONESIAN"},
    {0x22, L"UKRAINIAN"},  {0x23, L"BELARUSIAN"}, {0x24, L"SLOVENIAN"},  {0x25, L"ESTONIAN"},
    {0x26, L"LATVIAN"},    {0x27, L"LITHUANIAN"}, {0x29, L"PERSIAN"},    {0x2A, L"VIETNAMESE"},
    {0x2B, L"ARMENIAN"},   {0x2C, L"AZERI"},      {0x2D, L"BASQUE"},     {0x2F, L"MACEDONIAN"},
    {0x36, L"AFRIKAANS"},  {0x37, L"GEORGIAN"},   {0x39, L"HINDI"},      {0x3E, L"MALAY"},
    {0x3F, L"KAZAK"},      {0x41, L"SWAHILI"},    {0x43, L"UZBEK"},      {0x44, L"TATAR"},
    {0x45, L"BENGALI"},    {0x49, L"TAMIL"},      {0x4E, L"MARATHI"},    {0x56, L"GALICIAN"},
};

} // namespace

Localizer::Localizer() : languages_(new ArrayP()), listeners_(new ArrayP())
{
    languages_->SetElementDestructor(&LangPack::Pool());
}

Localizer::~Localizer()
{
    Reset();
    delete languages_;
    delete listeners_;
}

void Localizer::Reset()
{
    current_.store(nullptr);
    languages_->FreeAll();
    listeners_->FreeAll();
}

// --- loading --------------------------------------------------------------------

Localizer* Localizer::loadFromResource(void* module, const wchar_t* type, int32_t number)
{
    Localizer* localizer = Localizer::Acquire();
    if (!localizer)
        return nullptr;
    HMODULE handle = static_cast<HMODULE>(module);
    HRSRC found = FindResourceW(handle, MAKEINTRESOURCEW(number), type ? type : RESOURCE_TYPE);
    HGLOBAL loaded = found ? LoadResource(handle, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(handle, found) : 0;
    if (bytes && size > 0 && size < 0x7FFFFFFF) {
        Node* root = Node::Acquire();
        if (root) {
            if (root->parseUtf8(static_cast<const uint8_t*>(bytes), int32_t(size)))
                localizer->build(root);
            root->Release();
        }
    }
    localizer->selectLanguage(systemLanguageName());
    return localizer;
}

Localizer* Localizer::loadFromDocument(const Node* root)
{
    Localizer* localizer = Localizer::Acquire();
    if (!localizer)
        return nullptr;
    if (root)
        localizer->build(root);
    localizer->selectLanguage(systemLanguageName());
    return localizer;
}

bool Localizer::build(const Node* root)
{
    if (!root)
        return false;
    const Node* languages = root->findChild(L"languages");
    const Node* entries = root->findChild(L"entries");
    if (!languages)
        return false;

    StrBuffer* text = StrBuffer::Acquire();
    if (!text)
        return false;
    const uint32_t firstNew = languages_->Count();
    for (uint32_t i = 0, n = languages->getChildCount(); i < n; ++i) {
        const Node* entry = languages->getChild(i);
        if (!entry->nameEquals(L"entry"))
            continue;
        LangPack* language = LangPack::Acquire();
        if (!language)
            break;
        language->setTagName(entry->getText(text, L"tagName", L"")->CStr());
        language->setEngName(entry->getText(text, L"engName", L"")->CStr());
        language->setTrueName(entry->getText(text, L"trueName", L"")->CStr());
        languages_->Add(language);
    }
    const uint32_t count = languages_->Count();

    StrBuffer* fallback = StrBuffer::Acquire();
    for (uint32_t e = 0, n = entries && fallback ? entries->getChildCount() : 0; e < n; ++e) {
        const Node* entry = entries->getChild(e);
        if (!entry->nameEquals(L"entry"))
            continue;
        const wchar_t* id = entry->getRawValue(L"id", L"");
        const bool numbered = id[0] >= L'0' && id[0] <= L'9';
        int32_t number = 0;
        for (const wchar_t* p = id; numbered && *p >= L'0' && *p <= L'9'; ++p)
            number = int32_t(uint32_t(number) * 10u + uint32_t(*p - L'0'));

        fallback->Clear();
        for (uint32_t c = 0, m = entry->getChildCount(); c < m; ++c) {
            const Node* child = entry->getChild(c);
            ChildText(child, text);
            if (c == 0)
                fallback->Assign(*text);
            // Packs list the children in language order: try that language first.
            LangPack* match = nullptr;
            LangPack* sameIndex = firstNew + c < count ? getLanguage(firstNew + c) : nullptr;
            if (sameIndex && child->nameEquals(sameIndex->getTagName())) {
                match = sameIndex;
            } else {
                for (uint32_t l = firstNew; l < count && !match; ++l) {
                    if (child->nameEquals(getLanguage(l)->getTagName()))
                        match = getLanguage(l);
                }
            }
            if (match) {
                if (numbered)
                    match->addText(number, text->CStr());
                else
                    match->addNamedText(id, text->CStr());
            }
        }
        for (uint32_t l = firstNew; l < count; ++l) {
            LangPack* language = getLanguage(l);
            if (numbered) {
                if (!language->findText(number))
                    language->addText(number, fallback->CStr());
            } else if (!language->findNamedText(id)) {
                language->addNamedText(id, fallback->CStr());
            }
        }
    }
    if (fallback)
        fallback->Release();
    text->Release();
    return true;
}

// --- lookup ---------------------------------------------------------------------

LangPack* Localizer::ensureCurrent()
{
    LangPack* current = current_.load();
    if (current || languages_->Count() == 0)
        return current;
    current = findLanguage(systemLanguageName());
    if (!current)
        current = getLanguage(0);
    current_.store(current);
    return current;
}

const wchar_t* Localizer::getText(int32_t id)
{
    LangPack* current = ensureCurrent();
    const wchar_t* text = current ? current->findText(id) : nullptr;
    return text ? text : L"";
}

bool Localizer::hasText(int32_t id)
{
    return getText(id)[0] != 0;
}

const wchar_t* Localizer::getNamedText(const wchar_t* key)
{
    LangPack* current = ensureCurrent();
    const wchar_t* text = current ? current->findNamedText(key) : nullptr;
    return text ? text : L"";
}

LangPack* Localizer::findLanguage(const wchar_t* name) const
{
    if (!name)
        return nullptr;
    const uint32_t count = languages_->Count();
    auto named = [this, count](const wchar_t* engName) -> LangPack* {
        for (uint32_t i = 0; i < count; ++i) {
            LangPack* language = getLanguage(i);
            if (_wcsicmp(language->getEngName(), engName) == 0)
                return language;
        }
        return nullptr;
    };
    if (LangPack* exact = named(name))
        return exact;
    struct Family
    {
        const wchar_t* prefix;
        const wchar_t* first;
        const wchar_t* second;
    };
    static constexpr Family FAMILIES[] = {
        {L"Chinese", L"CHINESE_SIMPLIFIED", L"CHINESE_TRADITIONAL"},
        {L"Portuguese", L"PORTUGUESE_BRAZILIAN", L"PORTUGUESE_PORTUGAL"},
        {L"Serbian", L"SERBIAN_CYRILLIC", L"SERBIAN_LATIN"},
    };
    for (const Family& family : FAMILIES) {
        if (StartsWithIgnoreCase(name, family.prefix)) {
            LangPack* first = named(family.first);
            return first ? first : named(family.second);
        }
    }
    return nullptr;
}

void Localizer::makeCurrent(LangPack* language)
{
    current_.store(language);
    // A listener may add or remove listeners (itself included) while being told:
    // walking the live list would then skip the one after it. The listeners of
    // this moment are told from a copy, each once, unless removed before its turn;
    // one added meanwhile hears of the next change.
    const uint32_t n = listeners_->Count();
    if (n == 0)
        return;
    ArrayP* toTell = ArrayP::Acquire();
    if (!toTell)
        return;
    toTell->Append(listeners_->Items(), n);
    for (uint32_t i = 0; i < n; ++i) {
        auto* listener = static_cast<s::gui::events::IEventListener*>(toTell->Get(i));
        if (listeners_->IndexOf(listener) >= 0)
            listener->handleEvent(this, 0);
    }
    toTell->Release();
}

void Localizer::selectLanguage(const wchar_t* name)
{
    LangPack* current = ensureCurrent();
    if (!current)
        return;
    if (name && _wcsicmp(current->getEngName(), name) == 0)
        return;
    LangPack* next = findLanguage(name);
    if (!next)
        next = findLanguage(L"English");
    if (!next)
        next = getLanguage(0);
    if (next == current)
        return;
    makeCurrent(next);
}

void Localizer::selectLanguageIndex(uint32_t index)
{
    LangPack* next = getLanguage(index);
    if (!next || next == current_.load())
        return;
    makeCurrent(next);
}

LangPack* Localizer::getCurrentLanguage()
{
    return ensureCurrent();
}

uint32_t Localizer::getLanguageCount() const
{
    return languages_->Count();
}

LangPack* Localizer::getLanguage(uint32_t index) const
{
    return index < languages_->Count() ? static_cast<LangPack*>(languages_->Get(index)) : nullptr;
}

void Localizer::addListener(s::gui::events::IEventListener* listener)
{
    if (listener && listeners_->IndexOf(listener) < 0)
        listeners_->Add(listener);
}

void Localizer::removeListener(s::gui::events::IEventListener* listener)
{
    const int32_t at = listeners_->IndexOf(listener);
    if (at >= 0)
        listeners_->TakeAt(uint32_t(at));
}

uint32_t Localizer::getListenerCount() const
{
    return listeners_->Count();
}

// --- the system's language ------------------------------------------------------

const wchar_t* Localizer::languageNameOf(uint16_t languageId)
{
    const uint16_t primary = languageId & 0x3FF;
    switch (primary) {
    case 0x04:
        if (languageId == 0x0004 || languageId == 0x0804 || languageId == 0x1004)
            return L"CHINESE_SIMPLIFIED";
        return L"CHINESE_TRADITIONAL";
    case 0x16:
        return languageId == 0x0416 ? L"PORTUGUESE_BRAZILIAN" : L"PORTUGUESE";
    case 0x1A:
        switch (languageId) {
        case 0x081A:
        case 0x181A:
            return L"SERBIAN_LATIN";
        case 0x0C1A:
        case 0x1C1A:
            return L"SERBIAN_CYRILLIC";
        case 0x7C1A:
            return L"SERBIAN";
        case 0x201A:
            return L"BOSNIAN";
        default:
            return L"CROATIAN";
        }
    default:
        break;
    }
    for (const PrimaryName& entry : PRIMARY_NAMES) {
        if (entry.primary == primary)
            return entry.name;
    }
    return L"Unknown";
}

const wchar_t* Localizer::systemLanguageName()
{
    static const wchar_t* const name = languageNameOf(GetUserDefaultUILanguage());
    return name;
}

} // namespace s::lang
