#pragma once
// One file extension and the paths that carry it (made by PathArray::GroupByExtension).
//
// The paths are NOT owned: they stay with the PathArray that was grouped, and are
// valid only as long as it keeps them. Pooled: the owner of the list of Extension
// objects releases it, which releases each Extension.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::str::strbuffer {
class StrBuffer;
}
namespace s::col::_array {
class ArrayP;
}

namespace s::file {

namespace win {
class PathWin;
}

class Extension : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_file_Extension")
    // The class pool, made so that the pools this class's objects give their parts
    // back to are made first and therefore destroyed after it at process exit.
    friend struct ::s::thread::PoolHooks<Extension>;

public:
    static ::s::thread::EasyPooler& Pool();
    /// An empty object from the pool; the caller gives it back with Release().
    static Extension* Acquire() { return static_cast<Extension*>(Pool().Acquire()); }
    void Release() override { Pool().Release(static_cast<Extension*>(this)); }
    ::s::base::IObject* NewInstance() const override { return Acquire(); }

public:
    /// Empties the text and forgets the paths.
    void Reset() override;

    /// The extension with its dot (".txt"), as the first path of the group spells it.
    const wchar_t* GetText() const;
    void SetText(const wchar_t* chars, uint32_t count);
    uint32_t Count() const;
    win::PathWin* Get(uint32_t index) const;
    void Add(win::PathWin* path);

protected:
    Extension();
    ~Extension() override;

private:
    s::str::strbuffer::StrBuffer* text_;
    s::col::_array::ArrayP* paths_;  // owned list, elements not owned
};

} // namespace s::file
