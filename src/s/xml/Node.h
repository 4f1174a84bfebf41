#pragma once
// s::xml::Node: the element of the library's XML model, with its own tolerant
// parser and writer (no XML library is involved).
//
// Parsing (parse) never reports an error; it reads as far as these rules reach:
//  1. skip to the first '<' (at the end of the text: nothing, return there);
//  2. skip tab, LF, CR and space after it;
//  3. "!" starts a comment (name "!--"), skipped up to just after the next "-->";
//     otherwise the name runs up to space, tab, LF, CR, '/' or '>';
//  4. attributes until '>' or '/': name="value" (double quotes only; values are
//     kept raw, still encoded);
//  5. "/>" ends an empty element;
//  6. after '>', every run of text up to the next '<' is stored as an attribute
//     with the empty name, child elements are parsed in turn (comments dropped),
//     and "</" ends the element; the end tag's name is not compared.
// A text without '<' gives an unnamed, empty node. Nesting of any depth is read
// whole: parsing, writing, decoding and releasing walk the tree with lists of
// their own, never with recursion, so a deep tree costs memory but no stack.
//
// Writing (toText): "<name", every named attribute as ` name="raw"`, ">", the
// first text run only, the children, "</name>"; no declaration, no line breaks.
//
// Values: setters encode (attribute rules for named values, text rules for the
// empty name, see s/xml/Codec.h), getters decode. Number formats: unsigned "%u",
// signed "%d", 64-bit "%I64d", floating point "%f", Boolean 0/1 (read as true when
// the text begins with '1', 't', 'r', 'u' or 'e'), bytes two lower-case hex
// digits each. Attribute names are matched without regard to case, the first
// match wins; setting a value removes the old entries of that name and appends
// the new one at the end.
//
// Ownership: a node owns its children and attributes; releasing it releases
// them. Nodes come from their pool (Acquire()/Release()). No locks: one thread
// at a time per tree.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/thread/Pooled.h"
#include "s/xml/IXml.h"

namespace s::col::_array {
class ArrayP;
}
namespace s::file::win {
class PathWin;
}

namespace s::xml {

class Attributes;

class Node : public IXml
{
    S_CLASS_ID(L"s_xml_Node")
    S_POOLED(Node)

public:
    Node();
    ~Node() override;

    /// clear().
    void Reset() override;

    // --- tree (IXml) -------------------------------------------------------------
    uint32_t getChildCount() const override;
    void clear() override;
    void decodeAll() const override;
    const wchar_t* parse(const wchar_t* text) override;
    bool parseUtf8(const uint8_t* bytes, int32_t count) override;
    const wchar_t* getName() const override;
    uint32_t getNameLength() const override { return nameLength_; }
    void setName(const wchar_t* name, int32_t length = -1) override;
    bool nameEquals(const wchar_t* name, int32_t length = -1) const override;
    bool isComment() const override;
    Node* getChild(uint32_t index) const override;
    Node* addChild(const wchar_t* name, int32_t length = -1) override;
    void appendChild(Node* child) override;
    bool removeChild(uint32_t index) override;
    bool findChildIndex(const wchar_t* name, uint32_t* index, int32_t length = -1) const override;
    Node* findChild(const wchar_t* name, int32_t length = -1) const override;

    // --- typed setters (name null or "" = the element text); false when memory ran out
    bool setRawValue(const wchar_t* name, const wchar_t* raw, int32_t length = -1);
    bool setU8(const wchar_t* name, uint8_t value);
    bool setU16(const wchar_t* name, uint16_t value);
    bool setU32(const wchar_t* name, uint32_t value);
    bool setU64(const wchar_t* name, uint64_t value);
    bool setS8(const wchar_t* name, int8_t value);
    bool setS16(const wchar_t* name, int16_t value);
    bool setS32(const wchar_t* name, int32_t value);
    bool setS64(const wchar_t* name, int64_t value);
    bool setF32(const wchar_t* name, float value);
    bool setF64(const wchar_t* name, double value);
    bool setBool(const wchar_t* name, bool value);
    /// Null text sets the empty text. False, with nothing changed, when the encoded
    /// text might not fit in a string (more than codec::MAX_CHARACTERS / 6
    /// characters) or memory ran out.
    bool setString(const wchar_t* name, const wchar_t* text, int32_t length = -1);
    bool setBytes(const wchar_t* name, const uint8_t* bytes, uint32_t count);
    /// Removes every attribute of that name; answers whether there was one.
    bool removeValue(const wchar_t* name);
    bool hasValue(const wchar_t* name) const;

    // --- typed getters: `def` when the attribute is missing -----------------------
    /// The stored (still encoded) text, or def.
    const wchar_t* getRawValue(const wchar_t* name, const wchar_t* def) const;
    uint8_t getU8(const wchar_t* name, uint8_t def) const;
    uint16_t getU16(const wchar_t* name, uint16_t def) const;
    uint32_t getU32(const wchar_t* name, uint32_t def) const;
    uint64_t getU64(const wchar_t* name, uint64_t def) const;
    int8_t getS8(const wchar_t* name, int8_t def) const;
    int16_t getS16(const wchar_t* name, int16_t def) const;
    int32_t getS32(const wchar_t* name, int32_t def) const;
    int64_t getS64(const wchar_t* name, int64_t def) const;
    float getF32(const wchar_t* name, float def) const;
    double getF64(const wchar_t* name, double def) const;
    bool getBool(const wchar_t* name, bool def) const;
    /// The decoded value (or def) into target (appended or replacing); with a null
    /// target a new pooled string is answered, which the caller releases.
    s::str::strbuffer::StrBuffer* getText(s::str::strbuffer::StrBuffer* target,
                                          const wchar_t* name, const wchar_t* def,
                                          bool append = false) const;
    /// The bytes of a hexadecimal value into target (replacing; a new pooled array
    /// when null, the caller releases it); null when the value is missing (a given
    /// target is left unchanged).
    s::col::_array::ArrayU08* getBytes(const wchar_t* name,
                                       s::col::_array::ArrayU08* target) const;

    // --- writing and files ---------------------------------------------------------
    /// Serialises this element and everything under it (target as in getText);
    /// null when memory ran out (a given target is then left as it was).
    s::str::strbuffer::StrBuffer* toText(s::str::strbuffer::StrBuffer* target,
                                         bool append = false) const;
    /// toText as UTF-8 bytes without byte-order mark or terminator (target as in getBytes).
    s::col::_array::ArrayU08* toUtf8(s::col::_array::ArrayU08* target) const;
    /// The attribute list (owned by the node).
    Attributes* getAttributes() { return attributes_; }
    const Attributes* getAttributes() const { return attributes_; }

    /// Reads the whole file as UTF-8 and parses its first element into this node.
    /// False when the file cannot be read (the node is then cleared).
    bool load(const wchar_t* path);
    bool load(s::file::win::PathWin* path);
    /// Writes toUtf8() to the file, creating its folders first. The bytes go to a
    /// temporary file beside it that then replaces the old file in one step, so a
    /// failed save leaves the old file whole. False when anything failed.
    bool save(const wchar_t* path) const;
    bool save(s::file::win::PathWin* path) const;

private:
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    /// Reads the start tag at (or after) p into this node, attributes included;
    /// *open tells whether content follows (the position is then after its '>').
    const wchar_t* parseStartTag(const wchar_t* p, bool* open);
    void writeStartTag(s::str::strbuffer::StrBuffer& out) const;
    void writeEndTag(s::str::strbuffer::StrBuffer& out) const;
    /// False when memory for the walk ran out.
    bool writeTo(s::str::strbuffer::StrBuffer& out) const;
    bool setEncoded(const wchar_t* name, const wchar_t* text, uint32_t length);
    bool setNumberText(const wchar_t* name, const wchar_t* text);

    s::col::_array::ArrayP* children_;  // owned, elements released to Node::Pool()
    Attributes* attributes_;            // owned
    wchar_t* name_ = nullptr;           // malloc'ed copy, terminated
    uint32_t nameLength_ = 0;
};

} // namespace s::xml
