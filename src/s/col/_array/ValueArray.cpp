#include "s/col/_array/ValueArray.h"

#include "s/str/strbuffer/StrBuffer.h"

namespace s::col::_array {

template <class E>
void ValueArray<E>::AppendElementText(StrBuffer* string, const void* element) const
{
    if (string && element)
        string->AppendNumber(*static_cast<const E*>(element));
}

template <class E>
void ValueArray<E>::AppendElementHex(StrBuffer* string, const void* element) const
{
    if (string && element)
        string->AppendHex(static_cast<const E*>(element), 1);
}

template <class E>
typename ValueArray<E>::StrBuffer* ValueArray<E>::AppendAllHex(StrBuffer* string, bool append) const
{
    if (!string)
        string = StrBuffer::Acquire();
    else if (!append)
        string->Clear();
    if (string && Count())
        string->AppendHex(Items(), Count());
    return string;
}

template class ValueArray<uint8_t>;
template class ValueArray<int8_t>;
template class ValueArray<int32_t>;
template class ValueArray<uint32_t>;

} // namespace s::col::_array
