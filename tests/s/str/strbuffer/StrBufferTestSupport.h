#pragma once
// Shared by the StrBuffer tests (StrBuffer*Test.cpp): a pooled string held for one test and
// the contents of lists and byte arrays as standard containers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <thread>
#include <string>
#include <vector>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/Iterator.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/sys/CodePage.h"

using s::col::_array::ArrayU08;
using s::str::strarray::StrArray;
using s::str::strbuffer::Iterator;
using s::str::strbuffer::StrBuffer;

/// Holds a pooled string for one test and releases it at the end.
struct Str
{
    explicit Str(const wchar_t* text = L"") : p(StrBuffer::Acquire(text)) {}
    explicit Str(StrBuffer* taken) : p(taken) {}
    ~Str()
    {
        if (p)
            p->Release();
    }
    Str(const Str&) = delete;
    Str& operator=(const Str&) = delete;
    StrBuffer* operator->() const { return p; }
    StrBuffer& operator*() const { return *p; }
    std::wstring Text() const { return std::wstring(p->Data() ? p->Data() : L"", p->Length()); }
    StrBuffer* p;
};

inline std::vector<std::wstring> Items(const StrArray* list)
{
    std::vector<std::wstring> out;
    for (uint32_t i = 0; i < list->Count(); ++i)
        out.emplace_back(list->Get(i)->CStr());
    return out;
}

inline std::vector<uint8_t> Bytes(const ArrayU08* a)
{
    return std::vector<uint8_t>(a->Items(), a->Items() + a->Count());
}
