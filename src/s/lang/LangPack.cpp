#include "s/lang/LangPack.h"

#include <windows.h>
#include <versionhelpers.h>

#include "s/col/_array/ArrayS32.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::lang {

using s::col::_array::ArrayS32;
using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

namespace {

// Members live as long as their LangPack; they are made and deleted directly so
// that a LangPack kept by its pool until process exit never gives them back to a
// pool that may already be gone.
template <class T>
T* MakeOwned()
{
    return static_cast<T*>(s::thread::PoolHooks<T>::Create());
}

template <class T>
void DeleteOwned(T* object)
{
    if (object)
        s::thread::PoolHooks<T>::Destroy(object);
}

const wchar_t* OrEmpty(const wchar_t* text)
{
    return text ? text : L"";
}

// A stored text read without writing to it. CStr() writes the terminator on every call,
// and texts are looked up from the user-interface thread and the worker at the same
// time; each text is terminated once when it is added and never changed afterwards.
const wchar_t* TerminatedText(const s::str::strbuffer::StrBuffer& text)
{
    return text.Length() > 0 ? text.Data() : L"";
}

bool SystemLacksVenetianL()
{
    static const bool older = !IsWindowsVistaOrGreater();
    return older;
}

} // namespace

LangPack::LangPack()
    : tag_(MakeOwned<StrBuffer>()), engName_(MakeOwned<StrBuffer>()),
      trueName_(MakeOwned<StrBuffer>()), ids_(MakeOwned<ArrayS32>()),
      texts_(MakeOwned<StrArray>()), keys_(MakeOwned<StrArray>()),
      namedTexts_(MakeOwned<StrArray>())
{
}

LangPack::~LangPack()
{
    DeleteOwned(tag_);
    DeleteOwned(engName_);
    DeleteOwned(trueName_);
    DeleteOwned(ids_);
    DeleteOwned(texts_);
    DeleteOwned(keys_);
    DeleteOwned(namedTexts_);
}

void LangPack::Reset()
{
    tag_->Clear();
    engName_->Clear();
    trueName_->Clear();
    ids_->FreeAll();
    texts_->RemoveAll();
    keys_->RemoveAll();
    namedTexts_->RemoveAll();
}

void LangPack::setTagName(const wchar_t* tag)
{
    tag_->Assign(OrEmpty(tag));
}

void LangPack::setEngName(const wchar_t* name)
{
    engName_->Assign(OrEmpty(name));
}

void LangPack::setTrueName(const wchar_t* name)
{
    trueName_->Assign(OrEmpty(name));
}

const wchar_t* LangPack::getTagName() const
{
    return tag_->CStr();
}

const wchar_t* LangPack::getEngName() const
{
    return engName_->CStr();
}

const wchar_t* LangPack::getTrueName() const
{
    return trueName_->CStr();
}

bool LangPack::replacesVenetianL() const
{
    return tag_->Length() == 3 && tag_->Equals(L"vec") && SystemLacksVenetianL();
}

void LangPack::addText(int32_t id, const wchar_t* text)
{
    StrBuffer* added = texts_->Add(OrEmpty(text));
    if (!added)
        return;
    if (replacesVenetianL())
        added->ReplaceAll(L"\u019a", L"\u0142");
    added->CStr(); // terminated once here: lookups then only read (see TerminatedText)
    ids_->Add(id);
}

void LangPack::addNamedText(const wchar_t* key, const wchar_t* text)
{
    StrBuffer* added = namedTexts_->Add(OrEmpty(text));
    if (!added)
        return;
    if (replacesVenetianL())
        added->ReplaceAll(L"\u019a", L"\u0142");
    added->CStr();
    keys_->Add(OrEmpty(key));
}

const wchar_t* LangPack::findText(int32_t id) const
{
    const int32_t at = ids_->IndexOf(id);
    return at < 0 ? nullptr : TerminatedText(*texts_->Get(uint32_t(at)));
}

const wchar_t* LangPack::findNamedText(const wchar_t* key) const
{
    const int32_t at = keys_->IndexOf(OrEmpty(key));
    return at < 0 ? nullptr : TerminatedText(*namedTexts_->Get(uint32_t(at)));
}

uint32_t LangPack::getTextCount() const
{
    return ids_->Count();
}

uint32_t LangPack::getNamedTextCount() const
{
    return keys_->Count();
}

} // namespace s::lang
