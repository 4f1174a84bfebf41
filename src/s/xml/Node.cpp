#include "s/xml/Node.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayU08.h"
#include "s/col/_array/ArrayU32.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/AttrFactory.h"
#include "s/xml/Attributes.h"
#include "s/xml/Codec.h"
#include "s/xml/Disk.h"

namespace s::xml {

using s::col::_array::ArrayP;
using s::col::_array::ArrayU08;
using s::col::_array::ArrayU32;
using s::str::strbuffer::StrBuffer;

namespace {

bool IsSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

bool EndsName(wchar_t c)
{
    return c == 0 || IsSpace(c) || c == L'/' || c == L'>';
}

bool IsTextName(const wchar_t* name)
{
    return !name || !*name;
}

// Makes room for `units` characters in total; false when the string cannot hold
// them (too many, or memory ran out: a failed reservation keeps the old storage,
// so the capacity is what tells).
bool HasRoom(StrBuffer& string, uint64_t units)
{
    if (units > codec::MAX_CHARACTERS)
        return false;
    string.ReserveGrow(uint32_t(units));
    return units == 0 || (string.Data() && string.Capacity() >= units);
}

const wchar_t* SkipToEnd(const wchar_t* p)
{
    return p + wcslen(p);
}

// A decoded, terminated copy of a raw value for the number getters. Named values
// without references are used as they stand; everything else is decoded.
class DecodedValue
{
public:
    DecodedValue(const Attr* entry, bool isText)
    {
        if (!isText && !wmemchr(entry->Value(), L'&', entry->valueLength)) {
            text_ = entry->Value();
            return;
        }
        buffer_ = StrBuffer::Acquire();
        if (!buffer_) {
            text_ = L"";
            return;
        }
        if (!HasRoom(*buffer_, entry->valueLength)) {
            text_ = L"";
            return;
        }
        const size_t n = isText
                             ? codec::DecodeText(entry->Value(), entry->valueLength, buffer_->Data())
                             : codec::DecodeAttribute(entry->Value(), entry->valueLength,
                                                      buffer_->Data());
        buffer_->SetLength(uint32_t(n));
        text_ = buffer_->CStr();
    }
    ~DecodedValue()
    {
        if (buffer_)
            buffer_->Release();
    }
    DecodedValue(const DecodedValue&) = delete;
    DecodedValue& operator=(const DecodedValue&) = delete;

    const wchar_t* Text() const { return text_; }

private:
    StrBuffer* buffer_ = nullptr;
    const wchar_t* text_ = nullptr;
};

} // namespace

Node::Node() : children_(new ArrayP()), attributes_(new Attributes())
{
    children_->SetElementDestructor(&Node::Pool());
}

Node::~Node()
{
    clear();
    delete children_;
    delete attributes_;
}

void Node::Reset()
{
    clear();
}

// --- tree -----------------------------------------------------------------------

uint32_t Node::getChildCount() const
{
    return children_->Count();
}

void Node::clear()
{
    free(name_);
    name_ = nullptr;
    nameLength_ = 0;
    attributes_->Reset();
    if (children_->Count() == 0) {
        children_->FreeAll();
        return;
    }
    // Releasing a child clears it, which would release its children in turn: a
    // deep tree would recurse as deep as it is. Instead every descendant is
    // detached first and released childless, from a list of its own.
    ArrayP* pending = ArrayP::Acquire();
    if (!pending) {
        children_->FreeAll();  // no memory for the list: the plain way
        return;
    }
    pending->Append(children_->Items(), children_->Count());
    children_->Clear();
    children_->FreeAll();
    while (pending->Count() > 0) {
        Node* node = static_cast<Node*>(pending->Last());
        pending->SetCount(pending->Count() - 1);
        if (node->children_->Count() > 0) {
            pending->Append(node->children_->Items(), node->children_->Count());
            node->children_->Clear();
        }
        node->Release();
    }
    pending->Release();
}

void Node::decodeAll() const
{
    StrBuffer* scratch = StrBuffer::Acquire();
    ArrayP* pending = ArrayP::Acquire();  // nodes still to visit: no recursion on depth
    if (!scratch || !pending) {
        if (scratch)
            scratch->Release();
        if (pending)
            pending->Release();
        return;
    }
    pending->Add(const_cast<Node*>(this));
    while (pending->Count() > 0) {
        const Node* node = static_cast<const Node*>(pending->Last());
        pending->SetCount(pending->Count() - 1);
        for (uint32_t i = 0, n = node->attributes_->Count(); i < n; ++i) {
            const Attr* entry = node->attributes_->At(i);
            if (!HasRoom(*scratch, entry->valueLength))
                continue;
            if (entry->nameLength == 0)
                codec::DecodeText(entry->Value(), entry->valueLength, scratch->Data());
            else
                codec::DecodeAttribute(entry->Value(), entry->valueLength, scratch->Data());
        }
        if (node->children_->Count() > 0)
            pending->Append(node->children_->Items(), node->children_->Count());
    }
    pending->Release();
    scratch->Release();
}

const wchar_t* Node::getName() const
{
    return name_ ? name_ : L"";
}

void Node::setName(const wchar_t* name, int32_t length)
{
    if (!name)
        name = L"";
    const uint32_t n = length < 0 ? uint32_t(wcslen(name)) : uint32_t(length);
    wchar_t* copy = static_cast<wchar_t*>(malloc((size_t(n) + 1) * sizeof(wchar_t)));
    if (!copy)
        return;
    if (n)
        wmemcpy(copy, name, n);
    copy[n] = 0;
    free(name_);
    name_ = copy;
    nameLength_ = n;
}

bool Node::nameEquals(const wchar_t* name, int32_t length) const
{
    if (!name)
        name = L"";
    if (length < 0)
        return _wcsicmp(getName(), name) == 0;
    return uint32_t(length) == nameLength_ && wmemcmp(getName(), name, nameLength_) == 0;
}

bool Node::isComment() const
{
    return nameLength_ > 0 && name_[0] == L'!';
}

Node* Node::getChild(uint32_t index) const
{
    return index < children_->Count() ? static_cast<Node*>(children_->Get(index)) : nullptr;
}

Node* Node::addChild(const wchar_t* name, int32_t length)
{
    Node* child = Node::Acquire();
    if (!child)
        return nullptr;
    child->setName(name, length);
    children_->Add(child);
    return child;
}

void Node::appendChild(Node* child)
{
    if (child)
        children_->Add(child);
}

bool Node::removeChild(uint32_t index)
{
    if (index >= children_->Count())
        return false;
    children_->RemoveAt(index);
    return true;
}

bool Node::findChildIndex(const wchar_t* name, uint32_t* index, int32_t length) const
{
    for (uint32_t i = 0, n = children_->Count(); i < n; ++i) {
        if (getChild(i)->nameEquals(name, length)) {
            if (index)
                *index = i;
            return true;
        }
    }
    return false;
}

Node* Node::findChild(const wchar_t* name, int32_t length) const
{
    uint32_t index = 0;
    return findChildIndex(name, &index, length) ? getChild(index) : nullptr;
}

// --- parsing --------------------------------------------------------------------

const wchar_t* Node::parse(const wchar_t* text)
{
    clear();
    if (!text)
        return text;
    bool open = false;
    const wchar_t* p = parseStartTag(text, &open);
    if (!open)
        return p;
    // The elements whose content is being read, innermost last: nesting costs
    // list entries, not stack, so any depth is read (and written back) whole.
    ArrayP* openElements = ArrayP::Acquire();
    if (!openElements)
        return SkipToEnd(p);
    openElements->Add(this);
    while (openElements->Count() > 0) {
        Node* node = static_cast<Node*>(openElements->Last());
        while (IsSpace(*p))
            ++p;
        if (!*p)
            break;
        if (*p != L'<') {
            const wchar_t* run = p;
            while (*p && *p != L'<')
                ++p;
            node->attributes_->Append(L"", 0, run, int32_t(p - run));
            if (!*p)
                break;
        }
        if (p[1] == L'/') {
            // The end tag (its name is not compared).
            while (*p && *p != L'>')
                ++p;
            if (*p)
                ++p;
            openElements->SetCount(openElements->Count() - 1);
            continue;
        }
        Node* child = Node::Acquire();
        if (!child) {
            p = SkipToEnd(p);
            break;
        }
        bool childOpen = false;
        p = child->parseStartTag(p, &childOpen);
        if (child->isComment()) {
            child->Release();
            continue;
        }
        node->children_->Add(child);
        if (childOpen)
            openElements->Add(child);
    }
    openElements->Release();
    return p;
}

bool Node::parseUtf8(const uint8_t* bytes, int32_t count)
{
    clear();
    if (count == 0) {
        parse(L"");
        return true;
    }
    if (!bytes)
        return false;
    StrBuffer* text = StrBuffer::Acquire();
    if (!text)
        return false;
    const bool ok = text->FromUtf8(bytes, false, count);
    if (ok)
        parse(text->CStr());
    text->Release();
    return ok;
}

const wchar_t* Node::parseStartTag(const wchar_t* p, bool* open)
{
    *open = false;
    while (*p && *p != L'<')
        ++p;
    if (!*p)
        return p;
    ++p;
    while (IsSpace(*p))
        ++p;

    if (*p == L'!') {
        setName(L"!--", 3);
        for (int i = 0; i < 3 && *p; ++i)
            ++p;
        const wchar_t* end = wcsstr(p, L"-->");
        return end ? end + 3 : SkipToEnd(p);
    }

    const wchar_t* nameStart = p;
    while (!EndsName(*p))
        ++p;
    setName(nameStart, int32_t(p - nameStart));

    // Attributes up to '>' or '/'.
    for (;;) {
        while (IsSpace(*p))
            ++p;
        if (!*p)
            return p;
        if (*p == L'>' || *p == L'/')
            break;
        const wchar_t* attrName = p;
        while (*p && *p != L'=' && !IsSpace(*p) && *p != L'>' && *p != L'/')
            ++p;
        const wchar_t* attrNameEnd = p;
        while (IsSpace(*p))
            ++p;
        if (*p != L'=')
            continue;  // a name without a value is not kept
        while (*p && *p != L'"')
            ++p;
        if (!*p)
            return p;
        const wchar_t* value = ++p;
        while (*p && *p != L'"')
            ++p;
        // Empty names are reserved for element text; markup cannot make one.
        if (attrNameEnd > attrName)
            attributes_->Append(attrName, int32_t(attrNameEnd - attrName), value,
                                int32_t(p - value));
        if (!*p)
            return p;
        ++p;
    }

    if (*p == L'/') {
        while (*p && *p != L'>')
            ++p;
        return *p ? p + 1 : p;
    }
    *open = true;
    return p + 1;  // after '>'
}

// --- values ---------------------------------------------------------------------

bool Node::setRawValue(const wchar_t* name, const wchar_t* raw, int32_t length)
{
    return attributes_->Set(name ? name : L"", raw ? raw : L"", raw ? length : 0);
}

bool Node::setEncoded(const wchar_t* name, const wchar_t* text, uint32_t length)
{
    StrBuffer* encoded = StrBuffer::Acquire();
    if (!encoded)
        return false;
    // Six characters per character at most: the room is computed without wrapping
    // and refused when no string holds it.
    uint32_t room = 0;
    if (!codec::EncodeRoomFor(length, &room) || !HasRoom(*encoded, room)) {
        encoded->Release();
        return false;
    }
    const size_t n = IsTextName(name) ? codec::EncodeText(text, length, encoded->Data())
                                      : codec::EncodeAttribute(text, length, encoded->Data());
    const bool ok = attributes_->Set(name ? name : L"", n ? encoded->Data() : L"", int32_t(n));
    encoded->Release();
    return ok;
}

bool Node::setNumberText(const wchar_t* name, const wchar_t* text)
{
    return attributes_->Set(name ? name : L"", text, -1);
}

bool Node::setU8(const wchar_t* name, uint8_t value)
{
    return setU32(name, value);
}

bool Node::setU16(const wchar_t* name, uint16_t value)
{
    return setU32(name, value);
}

bool Node::setU32(const wchar_t* name, uint32_t value)
{
    wchar_t text[32];
    swprintf(text, 32, L"%u", value);
    return setNumberText(name, text);
}

bool Node::setU64(const wchar_t* name, uint64_t value)
{
    // Written signed, as the 64-bit reader converts signed.
    return setS64(name, int64_t(value));
}

bool Node::setS8(const wchar_t* name, int8_t value)
{
    return setS32(name, value);
}

bool Node::setS16(const wchar_t* name, int16_t value)
{
    return setS32(name, value);
}

bool Node::setS32(const wchar_t* name, int32_t value)
{
    wchar_t text[32];
    swprintf(text, 32, L"%d", value);
    return setNumberText(name, text);
}

bool Node::setS64(const wchar_t* name, int64_t value)
{
    wchar_t text[32];
    swprintf(text, 32, L"%lld", static_cast<long long>(value));
    return setNumberText(name, text);
}

bool Node::setF32(const wchar_t* name, float value)
{
    return setF64(name, value);
}

bool Node::setF64(const wchar_t* name, double value)
{
    // "%f" of a huge value is long: 309 digits plus decimals.
    wchar_t text[400];
    swprintf(text, 400, L"%f", value);
    return setNumberText(name, text);
}

bool Node::setBool(const wchar_t* name, bool value)
{
    return setNumberText(name, value ? L"1" : L"0");
}

bool Node::setString(const wchar_t* name, const wchar_t* text, int32_t length)
{
    if (!text)
        text = L"";
    const uint32_t n = length < 0 ? uint32_t(wcslen(text)) : uint32_t(length);
    return setEncoded(name, text, n);
}

bool Node::setBytes(const wchar_t* name, const uint8_t* bytes, uint32_t count)
{
    StrBuffer* hex = StrBuffer::Acquire();
    if (!hex)
        return false;
    if (bytes && count)
        hex->AppendHex(bytes, count);
    const bool ok = attributes_->Set(name ? name : L"", hex->CStr(), int32_t(hex->Length()));
    hex->Release();
    return ok;
}

bool Node::removeValue(const wchar_t* name)
{
    return attributes_->Remove(name ? name : L"");
}

bool Node::hasValue(const wchar_t* name) const
{
    return attributes_->IndexOf(name ? name : L"") >= 0;
}

const wchar_t* Node::getRawValue(const wchar_t* name, const wchar_t* def) const
{
    const Attr* entry = attributes_->Find(name ? name : L"");
    return entry ? entry->Value() : def;
}

uint8_t Node::getU8(const wchar_t* name, uint8_t def) const
{
    return uint8_t(getU32(name, def));
}

uint16_t Node::getU16(const wchar_t* name, uint16_t def) const
{
    return uint16_t(getU32(name, def));
}

uint32_t Node::getU32(const wchar_t* name, uint32_t def) const
{
    const Attr* entry = attributes_->Find(name ? name : L"");
    if (!entry)
        return def;
    DecodedValue value(entry, IsTextName(name));
    return uint32_t(wcstoul(value.Text(), nullptr, 10));
}

uint64_t Node::getU64(const wchar_t* name, uint64_t def) const
{
    return uint64_t(getS64(name, int64_t(def)));
}

int8_t Node::getS8(const wchar_t* name, int8_t def) const
{
    return int8_t(getS32(name, def));
}

int16_t Node::getS16(const wchar_t* name, int16_t def) const
{
    return int16_t(getS32(name, def));
}

int32_t Node::getS32(const wchar_t* name, int32_t def) const
{
    const Attr* entry = attributes_->Find(name ? name : L"");
    if (!entry)
        return def;
    DecodedValue value(entry, IsTextName(name));
    return int32_t(_wtoi(value.Text()));
}

int64_t Node::getS64(const wchar_t* name, int64_t def) const
{
    const Attr* entry = attributes_->Find(name ? name : L"");
    if (!entry)
        return def;
    DecodedValue value(entry, IsTextName(name));
    return int64_t(wcstoll(value.Text(), nullptr, 10));
}

float Node::getF32(const wchar_t* name, float def) const
{
    return float(getF64(name, def));
}

double Node::getF64(const wchar_t* name, double def) const
{
    const Attr* entry = attributes_->Find(name ? name : L"");
    if (!entry)
        return def;
    DecodedValue value(entry, IsTextName(name));
    return _wtof(value.Text());
}

bool Node::getBool(const wchar_t* name, bool def) const
{
    const Attr* entry = attributes_->Find(name ? name : L"");
    if (!entry)
        return def;
    DecodedValue value(entry, IsTextName(name));
    const wchar_t c = value.Text()[0];
    return c == L'1' || c == L't' || c == L'r' || c == L'u' || c == L'e';
}

StrBuffer* Node::getText(StrBuffer* target, const wchar_t* name, const wchar_t* def,
                         bool append) const
{
    StrBuffer* out = target ? target : StrBuffer::Acquire();
    if (!out)
        return nullptr;
    if (!append)
        out->Clear();
    const Attr* entry = attributes_->Find(name ? name : L"");
    if (!entry) {
        if (def)
            out->Append(def);
        return out;
    }
    const uint32_t start = out->Length();
    if (!HasRoom(*out, uint64_t(start) + entry->valueLength))
        return out;  // the target cannot hold the value: left as it was
    const size_t n = IsTextName(name)
                         ? codec::DecodeText(entry->Value(), entry->valueLength, out->Data() + start)
                         : codec::DecodeAttribute(entry->Value(), entry->valueLength,
                                                  out->Data() + start);
    out->SetLength(start + uint32_t(n));
    return out;
}

ArrayU08* Node::getBytes(const wchar_t* name, ArrayU08* target) const
{
    const Attr* entry = attributes_->Find(name ? name : L"");
    if (!entry)
        return nullptr;
    StrBuffer* hex = StrBuffer::Acquire(entry->Value(), int32_t(entry->valueLength));
    if (!hex)
        return nullptr;
    ArrayU08* out = target ? target : ArrayU08::Acquire();
    if (out) {
        out->Clear();
        if (hex->Length())
            hex->HexToBytes(out, false);
    }
    hex->Release();
    return out;
}

// --- writing --------------------------------------------------------------------

void Node::writeStartTag(StrBuffer& out) const
{
    out.AppendChar(L'<');
    out.Append(getName(), int32_t(nameLength_));
    const Attr* text = nullptr;
    for (uint32_t i = 0, n = attributes_->Count(); i < n; ++i) {
        const Attr* entry = attributes_->At(i);
        if (entry->nameLength == 0) {
            if (!text)
                text = entry;
            continue;
        }
        out.AppendChar(L' ');
        out.Append(entry->Name(), int32_t(entry->nameLength));
        out.Append(L"=\"", 2);
        out.Append(entry->Value(), int32_t(entry->valueLength));
        out.AppendChar(L'"');
    }
    out.AppendChar(L'>');
    if (text)
        out.Append(text->Value(), int32_t(text->valueLength));
}

void Node::writeEndTag(StrBuffer& out) const
{
    out.Append(L"</", 2);
    out.Append(getName(), int32_t(nameLength_));
    out.AppendChar(L'>');
}

bool Node::writeTo(StrBuffer& out) const
{
    // The open elements and, for each, the next child to write: a list instead
    // of recursion, so that a deep tree costs no stack.
    ArrayP* open = ArrayP::Acquire();
    ArrayU32* next = ArrayU32::Acquire();
    const bool ok = open && next;
    if (ok) {
        writeStartTag(out);
        open->Add(const_cast<Node*>(this));
        next->Add(0);
        while (open->Count() > 0) {
            const uint32_t top = open->Count() - 1;
            const Node* node = static_cast<const Node*>(open->Get(top));
            const uint32_t index = next->Get(top);
            if (index < node->children_->Count()) {
                next->Set(top, index + 1);
                const Node* child = node->getChild(index);
                child->writeStartTag(out);
                open->Add(const_cast<Node*>(child));
                next->Add(0);
                continue;
            }
            node->writeEndTag(out);
            open->SetCount(top);
            next->SetCount(top);
        }
    }
    if (open)
        open->Release();
    if (next)
        next->Release();
    return ok;
}

StrBuffer* Node::toText(StrBuffer* target, bool append) const
{
    StrBuffer* out = target ? target : StrBuffer::Acquire();
    if (!out)
        return nullptr;
    if (!append)
        out->Clear();
    const uint32_t start = out->Length();
    if (!writeTo(*out)) {
        out->SetLength(start);  // no memory for the walk: nothing half written
        if (!target)
            out->Release();
        return nullptr;
    }
    return out;
}

ArrayU08* Node::toUtf8(ArrayU08* target) const
{
    StrBuffer* text = toText(nullptr, false);
    if (!text)
        return nullptr;
    ArrayU08* out = text->ToUtf8NoTerminator(target, false);
    text->Release();
    return out;
}

// --- files ----------------------------------------------------------------------

namespace {

template <class Path>
bool LoadFrom(Node& node, Path path)
{
    node.clear();
    ArrayU08* bytes = ArrayU08::Acquire();
    if (!bytes)
        return false;
    bool ok = disk::ReadAllBytes(path, bytes);
    // The parser takes a signed 32-bit count, where -1 means "up to a zero byte":
    // a file of 2 GiB or more would turn negative and be read past its end.
    if (ok)
        ok = bytes->Count() <= 0x7FFFFFFFu && node.parseUtf8(bytes->Items(), int32_t(bytes->Count()));
    bytes->Release();
    return ok;
}

template <class Path>
bool SaveTo(const Node& node, Path path)
{
    ArrayU08* bytes = node.toUtf8(nullptr);
    if (!bytes)
        return false;
    const bool ok = disk::ReplaceWithBytes(path, bytes->Items(), bytes->Count());
    bytes->Release();
    return ok;
}

} // namespace

bool Node::load(const wchar_t* path)
{
    return LoadFrom(*this, path);
}

bool Node::load(s::file::win::PathWin* path)
{
    return LoadFrom(*this, path);
}

bool Node::save(const wchar_t* path) const
{
    return SaveTo(*this, path);
}

bool Node::save(s::file::win::PathWin* path) const
{
    return SaveTo(*this, path);
}

} // namespace s::xml
