#include "s/file/Extension.h"

#include "s/col/_array/ArrayP.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::file {

s::thread::EasyPooler& Extension::Pool()
{
    // Extensions kept at exit give their text and list back while this pool goes.
    static s::thread::EasyPooler& strings = s::str::strbuffer::StrBuffer::Pool();
    static s::thread::EasyPooler& lists = s::col::_array::ArrayP::Pool();
    static s::thread::EasyPooler pool(s::thread::EasyPooler::CLASS_POOL_MAX,
                                      &s::thread::PoolHooks<Extension>::Create,
                                      &s::thread::PoolHooks<Extension>::Destroy,
                                      &s::thread::PoolHooks<Extension>::Recycle);
    (void)strings;
    (void)lists;
    return pool;
}

Extension::Extension()
    : text_(s::str::strbuffer::StrBuffer::Acquire()), paths_(s::col::_array::ArrayP::Acquire())
{
}

Extension::~Extension()
{
    if (text_)
        text_->Release();
    if (paths_)
        paths_->Release();
}

void Extension::Reset()
{
    text_->Clear();
    paths_->Clear();
}

const wchar_t* Extension::GetText() const { return text_->CStr(); }

void Extension::SetText(const wchar_t* chars, uint32_t count)
{
    text_->Clear();
    if (count)
        text_->Append(chars, int32_t(count));
}

uint32_t Extension::Count() const { return paths_->Count(); }

win::PathWin* Extension::Get(uint32_t index) const
{
    return static_cast<win::PathWin*>(paths_->Get(index));
}

void Extension::Add(win::PathWin* path) { paths_->Add(path); }

} // namespace s::file
