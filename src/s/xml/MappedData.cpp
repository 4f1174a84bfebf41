#include "s/xml/MappedData.h"

#include <cwchar>

#include "s/col/_array/ArrayU08.h"
#include "s/file/win/PathWin.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/Node.h"

namespace s::xml {

using s::col::_array::ArrayU08;
using s::str::strbuffer::StrBuffer;

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

const wchar_t* OrEmpty(const wchar_t* text)
{
    return text ? text : L"";
}

} // namespace

// The store's own strings live as long as the store; they are made and deleted
// directly so that a store kept by its pool until process exit never gives them to
// a string pool that may already be gone.
MappedData::MappedData()
    : scratch_(static_cast<StrBuffer*>(s::thread::PoolHooks<StrBuffer>::Create())),
      section_(static_cast<StrBuffer*>(s::thread::PoolHooks<StrBuffer>::Create()))
{
}

MappedData::~MappedData()
{
    Reset();
    s::thread::PoolHooks<StrBuffer>::Destroy(scratch_);
    s::thread::PoolHooks<StrBuffer>::Destroy(section_);
}

void MappedData::Reset()
{
    if (file_)
        file_->Release();
    file_ = nullptr;
    scratch_->Clear();
    section_->Clear();
    if (root_)
        root_->Release();
    root_ = nullptr;
    current_ = nullptr;
    sectionKnown_ = false;
    unreadable_ = false;
    autoFlush_ = 0;
}

bool MappedData::open(const wchar_t* path)
{
    Reset();
    if (path && *path)
        file_ = s::file::win::PathWin::FromText(path);
    root_ = Node::Acquire();
    if (!root_)
        return false;
    if (file_ && file_->Exists() && !file_->IsDirectory())
        unreadable_ = !root_->load(file_);
    // A new file, or one from which no element could be read, gets the usual root.
    if (root_->getNameLength() == 0)
        root_->setName(ROOT_NAME);
    section_->Clear();
    current_ = root_;
    sectionKnown_ = true;
    return !unreadable_;
}

const wchar_t* MappedData::getFile() const
{
    return file_ ? file_->GetFullPath() : L"";
}

Node* MappedData::walk(const wchar_t* sec, bool create) const
{
    Node* node = root_;
    const wchar_t* p = OrEmpty(sec);
    while (node && *p) {
        while (IsSeparator(*p))
            ++p;
        const wchar_t* name = p;
        while (*p && !IsSeparator(*p))
            ++p;
        if (p == name)
            break;
        const int32_t length = int32_t(p - name);
        Node* next = nullptr;
        for (uint32_t i = 0, n = node->getChildCount(); i < n; ++i) {
            Node* child = node->getChild(i);
            if (uint32_t(length) == child->getNameLength() &&
                _wcsnicmp(child->getName(), name, size_t(length)) == 0) {
                next = child;
                break;
            }
        }
        if (!next && create)
            next = node->addChild(name, length);
        node = next;
    }
    return node;
}

Node* MappedData::section(const wchar_t* sec, bool create)
{
    if (!root_)
        return nullptr;
    sec = OrEmpty(sec);
    if (sectionKnown_ && section_->EqualsIgnoreCase(sec) && (current_ || !create))
        return current_;
    section_->Assign(sec);
    current_ = walk(sec, create);
    sectionKnown_ = true;
    return current_;
}

bool MappedData::finishWrite(bool ok)
{
    if (autoFlush_)
        return flush() && ok;
    return ok;
}

// --- IMappedData ----------------------------------------------------------------

bool MappedData::flush()
{
    if (!root_ || !file_)
        return true;
    if (unreadable_)
        return false;
    return root_->save(file_);
}

bool MappedData::openSectionForWrite(const wchar_t* sec)
{
    return finishWrite(section(sec, true) != nullptr);
}

bool MappedData::openSectionForRead(const wchar_t* sec)
{
    return section(sec, false) != nullptr;
}

bool MappedData::removeSection(const wchar_t* sec)
{
    if (!root_)
        return false;
    StrBuffer* parent = StrBuffer::Acquire(OrEmpty(sec));
    if (!parent)
        return false;
    while (!parent->IsEmpty() && IsSeparator(parent->CharAt(parent->Length() - 1)))
        parent->SetLength(parent->Length() - 1);
    bool removed = false;
    if (parent->IsEmpty()) {
        // The root itself: everything below it goes, its name stays.
        StrBuffer* name = StrBuffer::Acquire(root_->getName());
        root_->clear();
        root_->setName(name && !name->IsEmpty() ? name->CStr() : ROOT_NAME);
        if (name)
            name->Release();
        section_->Clear();
        current_ = root_;
        sectionKnown_ = true;
        removed = true;
    } else {
        uint32_t at = 0;
        const bool nested = parent->LastIndexOfAny(L"\\/", 2, &at);
        StrBuffer* last = nested ? parent->Substring(at + 1) : parent->Clone();
        if (nested)
            parent->SetLength(at);
        else
            parent->Clear();
        Node* container = last ? section(parent->CStr(), false) : nullptr;
        uint32_t index = 0;
        if (container && container->findChildIndex(last->CStr(), &index, -1)) {
            container->removeChild(index);
            removed = true;
        }
        if (last)
            last->Release();
    }
    parent->Release();
    return finishWrite(removed);
}

bool MappedData::hasValue(const wchar_t* sec, const wchar_t* name)
{
    Node* node = section(sec, false);
    return node && node->hasValue(name);
}

#define S_XML_GETTER(Type, Getter)                                                 \
    Type MappedData::Getter(const wchar_t* sec, const wchar_t* name, Type def)     \
    {                                                                              \
        Node* node = section(sec, false);                                          \
        return node ? node->Getter(name, def) : def;                               \
    }

S_XML_GETTER(uint8_t, getU8)
S_XML_GETTER(uint16_t, getU16)
S_XML_GETTER(uint32_t, getU32)
S_XML_GETTER(uint64_t, getU64)
S_XML_GETTER(int8_t, getS8)
S_XML_GETTER(int16_t, getS16)
S_XML_GETTER(int32_t, getS32)
S_XML_GETTER(int64_t, getS64)
S_XML_GETTER(float, getF32)
S_XML_GETTER(double, getF64)
S_XML_GETTER(bool, getBool)

#undef S_XML_GETTER

const wchar_t* MappedData::getString(const wchar_t* sec, const wchar_t* name, const wchar_t* def,
                                     bool* wasExpandable, bool)
{
    if (wasExpandable)
        *wasExpandable = false;
    Node* node = section(sec, false);
    if (!node || !node->hasValue(name))
        return def;
    node->getText(scratch_, name, nullptr, false);
    return scratch_->CStr();
}

ArrayU08* MappedData::getBytes(const wchar_t* sec, const wchar_t* name, ArrayU08* bytes)
{
    Node* node = section(sec, false);
    if (!node)
        return bytes;
    return node->getBytes(name, bytes);
}

bool MappedData::removeValue(const wchar_t* sec, const wchar_t* name)
{
    Node* node = section(sec, false);
    return finishWrite(node && node->removeValue(name));
}

#define S_XML_SETTER(Type, Setter)                                                 \
    bool MappedData::Setter(const wchar_t* sec, const wchar_t* name, Type value)   \
    {                                                                              \
        Node* node = section(sec, true);                                           \
        return finishWrite(node && node->Setter(name, value));                     \
    }

S_XML_SETTER(uint8_t, setU8)
S_XML_SETTER(uint16_t, setU16)
S_XML_SETTER(uint32_t, setU32)
S_XML_SETTER(uint64_t, setU64)
S_XML_SETTER(int8_t, setS8)
S_XML_SETTER(int16_t, setS16)
S_XML_SETTER(int32_t, setS32)
S_XML_SETTER(int64_t, setS64)
S_XML_SETTER(float, setF32)
S_XML_SETTER(double, setF64)
S_XML_SETTER(bool, setBool)

#undef S_XML_SETTER

bool MappedData::setString(const wchar_t* sec, const wchar_t* name, const wchar_t* text)
{
    Node* node = section(sec, true);
    return finishWrite(node && node->setString(name, OrEmpty(text)));
}

bool MappedData::setExpandableString(const wchar_t* sec, const wchar_t* name,
                                     const wchar_t* text)
{
    return setString(sec, name, text);
}

bool MappedData::setBytes(const wchar_t* sec, const wchar_t* name, const ArrayU08* bytes)
{
    Node* node = section(sec, true);
    const bool ok = node && (bytes ? node->setBytes(name, bytes->Items(), bytes->Count())
                                   : node->setBytes(name, nullptr, 0));
    return finishWrite(ok);
}

MappedData* openFileStore(const wchar_t* path)
{
    MappedData* store = MappedData::Acquire();
    if (store)
        store->open(path);
    return store;
}

} // namespace s::xml
