#pragma once
// s::file::win::PathArray: an owning list of PathWin objects.
//
// Removing an element through the list (RemoveAt, Clear, Release of the list)
// gives the path back to its pool; TakeAt hands it to the caller instead.
// Optional per-element 32-bit flags (for marking items, e.g. "is a folder") follow
// inserts and removals; sorting drops them. Pooled: Acquire() / Release().
// Used by one thread at a time.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/col/_array/ArrayP.h"
#include "s/file/IPathArray.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::str::strbuffer {
class StrBuffer;
}
namespace s::col::_array {
class ArrayU32;
}

namespace s::file {
class Extension;
}

namespace s::file::win {

class PathWin;

class PathArray : public s::file::IPathArray, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_file_win_PathArray")
    // The class pool, made so that the pools this class's objects give their parts
    // back to are made first and therefore destroyed after it at process exit.
    friend struct ::s::thread::PoolHooks<PathArray>;

public:
    static ::s::thread::EasyPooler& Pool();
    /// An empty object from the pool; the caller gives it back with Release().
    static PathArray* Acquire() { return static_cast<PathArray*>(Pool().Acquire()); }
    void Release() override { Pool().Release(static_cast<PathArray*>(this)); }
    ::s::base::IObject* NewInstance() const override { return Acquire(); }

public:
    /// Releases every path and the flags.
    void Reset() override;

    uint32_t Count() const override;
    PathWin* Get(uint32_t index) const;
    /// The embedded list (element destructor: the PathWin pool). Walkers append to it.
    s::col::_array::ArrayP* List() { return &list_; }

    /// Takes ownership of `path`.
    void Insert(uint32_t index, PathWin* path);
    void Insert(uint32_t index, const wchar_t* text);
    void Append(PathWin* path);
    void Append(const wchar_t* text) override;
    /// Releases the path at index.
    void RemoveAt(uint32_t index);
    /// Removes the path at index and hands it to the caller (the last one without
    /// moving the others).
    PathWin* TakeAt(uint32_t index);
    void Clear();

    /// Index of the first path equal to `path` (full paths), or -1.
    int32_t Find(const PathWin* path) const;
    int32_t FindIgnoreCase(const PathWin* path) const;
    int32_t IndexOfText(const wchar_t* text, bool ignoreCase) const override;

    /// Every full path followed by a 0 character, then one more 0 (the form of the
    /// shell's file operations). Points into this list's scratch string; valid until
    /// the next call. *length (may be null) gets the characters without the last 0.
    const wchar_t* Join(uint32_t* length = nullptr);

    /// Stable sorts ignoring case over the common length, then shorter first.
    void SortByFullPath();
    void SortByExtension();
    /// Sorts by extension and answers one Extension per run of equal extensions
    /// (ignoring case); the list (element destructor: the Extension pool) belongs to
    /// the caller, the paths inside stay owned by this PathArray.
    s::col::_array::ArrayP* GroupByExtension();

    /// Flags (0 until set).
    uint32_t GetFlag(uint32_t index) const;
    void SetFlag(uint32_t index, uint32_t flag);

protected:
    PathArray();
    ~PathArray() override;

private:
    void EnsureFlags();

    s::col::_array::ArrayP list_;
    s::col::_array::ArrayU32* flags_ = nullptr;  // owned, made on first SetFlag
    s::str::strbuffer::StrBuffer* scratch_;
};

} // namespace s::file::win
