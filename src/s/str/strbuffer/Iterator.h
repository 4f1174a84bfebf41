#pragma once
// The pooled iterator over the characters of a StrBuffer (the walk is described
// in s/col/IteratorBase.h). Next()/Previous() answer the address of a character
// (a wchar_t*, as void*); NextChar()/PreviousChar() answer the character itself.
//
//     auto* it = text->Begin();
//     while (it->HasNext()) { wchar_t ch = it->NextChar(); ... }
//     it->Release();
//
// Get one from StrBuffer::Begin(), End(), IteratorAt(), IteratorFromEnd(); the
// caller releases it. The string is not owned: it must outlive the iterator and
// must not grow while it is walked (growing moves the storage).

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/col/IteratorBase.h"
#include "s/thread/Pooled.h"

namespace s::str::strbuffer {

class StrBuffer;

class Iterator : public s::col::IteratorBase
{
    S_CLASS_ID(L"s_str_strbuffer_Iterator")
    S_POOLED(Iterator)

public:
    /// Positions the iterator on text (not owned): the index, and the pointer at
    /// character pointerIndex.
    void Attach(StrBuffer* text, int32_t index, uint32_t pointerIndex);
    StrBuffer* Text() const { return text_; }

    int32_t GetIndex() const override { return index_; }
    /// Index i, pointer at character i + 1.
    void SetIndex(int32_t index) override;
    /// index < Length() - 1.
    bool HasNext() const override;
    bool HasPrevious() const override { return index_ > 0; }
    void Skip(int32_t n) override;
    void Back(int32_t n) override;
    /// Answers the pointer, then moves pointer and index forward by one.
    void* Next() override;
    /// Moves back by one, then answers the pointer.
    void* Previous() override;
    wchar_t NextChar() { return *static_cast<wchar_t*>(Next()); }
    wchar_t PreviousChar() { return *static_cast<wchar_t*>(Previous()); }
    /// No string, index -1.
    void Reset() override;

protected:
    Iterator() = default;
    ~Iterator() override = default;

private:
    StrBuffer* text_ = nullptr;
    wchar_t* pointer_ = nullptr;
    int32_t index_ = -1;
};

} // namespace s::str::strbuffer
