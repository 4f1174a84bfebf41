#include "s/str/strbuffer/Iterator.h"

#include "s/str/strbuffer/StrBuffer.h"

namespace s::str::strbuffer {

void Iterator::Attach(StrBuffer* text, int32_t index, uint32_t pointerIndex)
{
    text_ = text;
    index_ = index;
    pointer_ = text && text->Data() ? text->PointerAt(pointerIndex) : nullptr;
}

void Iterator::SetIndex(int32_t index)
{
    Attach(text_, index, uint32_t(index + 1));
}

bool Iterator::HasNext() const
{
    return text_ && int64_t(index_) < int64_t(text_->Length()) - 1;
}

void Iterator::Skip(int32_t n)
{
    index_ += n;
    pointer_ += n;
}

void Iterator::Back(int32_t n)
{
    Skip(-n);
}

void* Iterator::Next()
{
    wchar_t* current = pointer_;
    ++pointer_;
    ++index_;
    return current;
}

void* Iterator::Previous()
{
    --pointer_;
    --index_;
    return pointer_;
}

void Iterator::Reset()
{
    text_ = nullptr;
    pointer_ = nullptr;
    index_ = -1;
}

} // namespace s::str::strbuffer
