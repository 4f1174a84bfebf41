#pragma once
// An XML element of the library's small document model: a name, an ordered
// attribute list and ordered child elements. Element text is not a node kind of
// its own: each run of text inside an element is an attribute with the empty
// name, so reading or writing the value named "" reads or writes the text.
// See s/xml/Node.h for the implementation and the exact rules.

#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::xml {

class Attributes;
class Node;

class IXml : public s::base::IObject, public s::thread::IPoolable
{
public:
    virtual uint32_t getChildCount() const = 0;
    /// Frees the name, removes all attributes and children.
    virtual void clear() = 0;
    /// Walks the tree decoding every value (a consistency pass; changes nothing).
    virtual void decodeAll() const = 0;
    /// Parses the first element of a terminated text into this (cleared) node;
    /// answers the position after it. Never fails: see Node.h.
    virtual const wchar_t* parse(const wchar_t* text) = 0;
    /// Decodes count UTF-8 bytes (-1: up to the first 0 byte), then parse(). False
    /// when the bytes are not UTF-8 (the node is then cleared).
    virtual bool parseUtf8(const uint8_t* bytes, int32_t count) = 0;

    /// Never null ("" without a name).
    virtual const wchar_t* getName() const = 0;
    virtual uint32_t getNameLength() const = 0;
    /// length -1: up to the terminating 0.
    virtual void setName(const wchar_t* name, int32_t length = -1) = 0;
    /// length -1: whole names, without regard to case. Otherwise the first length
    /// characters must match exactly and this name must end there.
    virtual bool nameEquals(const wchar_t* name, int32_t length = -1) const = 0;
    /// The name begins with an exclamation mark.
    virtual bool isComment() const = 0;

    /// Child i (owned by this node), or null when out of range.
    virtual Node* getChild(uint32_t index) const = 0;
    /// Appends a new child with that name and answers it (owned by this node); null
    /// when memory ran out.
    virtual Node* addChild(const wchar_t* name, int32_t length = -1) = 0;
    /// Appends `child`, which this node owns from now on (null is ignored).
    virtual void appendChild(Node* child) = 0;
    /// Removes child i and releases it to its pool; false when out of range.
    virtual bool removeChild(uint32_t index) = 0;
    /// The first child whose nameEquals(name, length) holds: its index in *index.
    virtual bool findChildIndex(const wchar_t* name, uint32_t* index, int32_t length = -1) const = 0;
    /// The first child whose nameEquals(name, length) holds (owned by this node), or null.
    virtual Node* findChild(const wchar_t* name, int32_t length = -1) const = 0;
};

} // namespace s::xml
