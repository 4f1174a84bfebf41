#include "s/col/_array/ArrayP.h"

#include "s/col/MergeSort.h"
#include "s/comp/CompP.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::col::_array {

namespace {
constexpr ElementDescriptor POINTER_DESCRIPTOR{5, sizeof(void*), true, false, L"void*"};
constexpr uint8_t POINTER_SHIFT = sizeof(void*) == 8 ? 3 : 2;
} // namespace

ArrayP* ArrayP::Acquire(s::base::IDestructor* elementDestructor)
{
    ArrayP* list = Acquire();
    if (list)
        list->destructor_ = elementDestructor;
    return list;
}

ArrayP::ArrayP() : ArrayBase(POINTER_SHIFT) {}

ArrayP::~ArrayP()
{
    Dispose(0, Count());
}

int32_t ArrayP::IndexOf(const void* element) const
{
    void* const* items = Items();
    for (uint32_t i = 0, n = Count(); i < n; ++i) {
        if (items[i] == element)
            return int32_t(i);
    }
    return -1;
}

void* ArrayP::TakeAt(uint32_t index)
{
    void* element = Items()[index];
    ArrayBase::RemoveRange(index, 1);
    return element;
}

bool ArrayP::Sort(const s::base::IComparator* comparator, bool descending, bool ignoreCase)
{
    if (!comparator)
        comparator = &s::comp::CompP::Instance();
    return s::col::MergeSort(Items(), Count(), comparator, descending, ignoreCase);
}

void ArrayP::DropLast(uint32_t n)
{
    if (n > Count())
        n = Count();
    Dispose(Count() - n, n);
    ArrayBase::DropLast(n);
}

void ArrayP::DropFirst(uint32_t n)
{
    if (n > Count())
        n = Count();
    Dispose(0, n);
    ArrayBase::RemoveRange(0, n);
}

void ArrayP::RemoveRange(uint32_t index, uint32_t n)
{
    Dispose(index, n);
    ArrayBase::RemoveRange(index, n);
}

void ArrayP::FreeAll()
{
    Dispose(0, Count());
    FreeStorage();
}

void ArrayP::Reset()
{
    FreeAll();
    destructor_ = nullptr;
}

const ElementDescriptor* ArrayP::GetElementDescriptor() const
{
    return &POINTER_DESCRIPTOR;
}

void ArrayP::AppendElementText(StrBuffer* string, const void* element) const
{
    if (!string || !element)
        return;
    void* pointer = *static_cast<void* const*>(element);
    // Elements are IObjects by the list's contract (see s/base/IObject.h).
    string->Append(pointer ? static_cast<const s::base::IObject*>(pointer)->ClassId() : L"null");
    string->AppendChar(L'(');
    string->AppendNumber(int64_t(reinterpret_cast<intptr_t>(pointer)));
    string->AppendChar(L')');
}

const s::base::IComparator* ArrayP::DefaultComparator() const
{
    return &s::comp::CompP::Instance();
}

void ArrayP::Dispose(uint32_t index, uint32_t n)
{
    if (!destructor_)
        return;
    void** items = Items();
    for (uint32_t i = index; i < index + n; ++i) {
        if (items[i])
            destructor_->Destroy(&items[i]);
    }
}

} // namespace s::col::_array
