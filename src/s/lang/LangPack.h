#pragma once
// One language of the language pack: its names and its texts.
//
// - tag ("tagName"): the short code that names the language's elements in the
//   pack, e.g. "eng";
// - English name ("engName"): used for matching and saving, e.g. "Chinese_Simplified";
// - shown name ("trueName"): shown in the language menu, e.g. "Deutsch";
// - numbered texts: ids and texts at the same positions, in the order added;
//   lookups take the first text added under an id;
// - named texts: keys and texts, the first text added under a key wins.
// Texts are stored decoded, as the reader hands them over.
//
// Pooled (Acquire()/Release()); the Localizer owns its languages. Texts are only
// appended while the pack is loaded; after that a LangPack is read-only and may be
// read from several threads.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {
class ArrayS32;
}
namespace s::str::strbuffer {
class StrBuffer;
}
namespace s::str::strarray {
class StrArray;
}

namespace s::lang {

class LangPack : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_lang_LangPack")
    S_POOLED(LangPack)

public:
    LangPack();
    ~LangPack() override;

    /// Empties the names and removes every text.
    void Reset() override;

    void setTagName(const wchar_t* tag);
    void setEngName(const wchar_t* name);
    void setTrueName(const wchar_t* name);
    /// Never null.
    const wchar_t* getTagName() const;
    const wchar_t* getEngName() const;
    const wchar_t* getTrueName() const;

    /// Appends (id, text); null text adds the empty text. In the language tagged
    /// exactly "vec" on systems older than Windows Vista, U+019A becomes U+0142,
    /// which their fonts lack.
    void addText(int32_t id, const wchar_t* text);
    /// Appends (key, text); null key or text count as empty.
    void addNamedText(const wchar_t* key, const wchar_t* text);
    /// The first text added under id, or null when there is none.
    const wchar_t* findText(int32_t id) const;
    /// The first text added under key (compared exactly), or null.
    const wchar_t* findNamedText(const wchar_t* key) const;
    uint32_t getTextCount() const;
    uint32_t getNamedTextCount() const;

    /// Whether addText replaces U+019A for this language (tag "vec" on an old system).
    bool replacesVenetianL() const;

private:
    LangPack(const LangPack&) = delete;
    LangPack& operator=(const LangPack&) = delete;

    s::str::strbuffer::StrBuffer* tag_;
    s::str::strbuffer::StrBuffer* engName_;
    s::str::strbuffer::StrBuffer* trueName_;
    s::col::_array::ArrayS32* ids_;
    s::str::strarray::StrArray* texts_;
    s::str::strarray::StrArray* keys_;
    s::str::strarray::StrArray* namedTexts_;
};

} // namespace s::lang
