#include "s/reg/win/RegDir.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/ObjLocker.h"

using s::col::_array::ArrayP;
using s::col::_array::ArrayU08;
using s::str::strbuffer::StrBuffer;

namespace s::reg::win {

std::atomic<uint32_t> RegDir::nativeOpenCount_{0};

namespace {

constexpr NtStatus kStatusAccessDenied = static_cast<NtStatus>(0xC0000022UL);
constexpr NtStatus kStatusKeyDeleted = static_cast<NtStatus>(0xC000017CUL);
constexpr ACCESS_MASK kKeyRead = 0x20019;

// A directory's members go back to these pools when the directory's own pool is destroyed
// at process exit; pools are destroyed in reverse order of creation, so these are made
// first, before any code can make the directory pool.
const bool g_memberPoolsMadeFirst = (StrBuffer::Pool(), ArrayU08::Pool(), true);

// The buffer every directory reads values through, grown to the largest value seen.
struct SharedReadBuffer
{
    static constexpr ULONG kInitialSize = 16 * 1024;
    // Head room added when a value did not fit, so that slightly larger values that
    // follow do not grow it again.
    static constexpr ULONG kGrowthSlack = 1026;

    s::thread::ObjLocker lock;
    unsigned char* bytes = nullptr;
    ULONG size = 0;

    ~SharedReadBuffer() { std::free(bytes); }

    // Under the lock.
    bool EnsureSize(ULONG needed)
    {
        if (bytes && size >= needed) return true;
        void* grown = std::malloc(needed);
        if (!grown) return false;
        std::free(bytes);
        bytes = static_cast<unsigned char*>(grown);
        size = needed;
        return true;
    }
};

SharedReadBuffer& SharedBuffer()
{
    static SharedReadBuffer buffer;
    return buffer;
}

// Appends `path` to `target` component by component, dropping empty components, each
// preceded by a backslash unless `target` is empty.
void AppendNormalisedPath(StrBuffer* target, const wchar_t* path)
{
    if (!path) return;
    const wchar_t* p = path;
    while (*p) {
        while (*p == L'\\') ++p;
        const wchar_t* start = p;
        while (*p && *p != L'\\') ++p;
        if (p > start) {
            if (target->Length() > 0) target->AppendChar(L'\\');
            target->Append(start, static_cast<int32_t>(p - start));
        }
    }
}

void StoreLittleEndian(uint8_t* out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t LoadLittleEndian(const uint8_t* in, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
    return value;
}

}  // namespace

RegDir::RegDir()
    : path_(StrBuffer::Acquire()),
      nativePath_(StrBuffer::Acquire()),
      text_(StrBuffer::Acquire()),
      data_(ArrayU08::Acquire())
{
    (void)g_memberPoolsMadeFirst;
}

RegDir::~RegDir()
{
    close();
    if (path_) path_->Release();
    if (nativePath_) nativePath_->Release();
    if (text_) text_->Release();
    if (data_) data_->Release();
}

void RegDir::Reset()
{
    close();
    root_ = nullptr;
    path_->Clear();
    nativePath_->Clear();
    text_->Clear();
    data_->Clear();
}

RegDir* RegDir::Open(HKEY root, const wchar_t* path)
{
    RegDir* dir = Acquire();
    if (dir) dir->open(root, path);
    return dir;
}

// --- where the directory stands ---------------------------------------------

bool RegDir::assign(const RegistryRoot* root, const wchar_t* path)
{
    close();
    root_ = root;
    path_->Clear();
    nativePath_->Clear();
    if (!root) return false;
    AppendNormalisedPath(path_, path);
    nativePath_->Append(root->nativePath);
    if (path_->Length() > 0) {
        nativePath_->AppendChar(L'\\');
        nativePath_->Append(*path_);
    }
    return true;
}

bool RegDir::openNative(bool create)
{
    close();
    if (!root_ || root_->nativePath[0] == 0) return false;
    UNICODE_STRING name;
    if (!InitUnicodeString(&name, nativePath_->CStr())) return false;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);

    ++nativeOpenCount_;
    HANDLE key = nullptr;
    NtStatus status = create ? native::CreateKey(&key, kKeyAllAccess, &attributes, 0, nullptr, 0, nullptr)
                             : native::OpenKey(&key, kKeyAllAccess, &attributes);
    if (status == kStatusAccessDenied) {
        // Machine keys refuse all access to standard users; reading them must still work.
        status = create ? native::CreateKey(&key, kKeyRead, &attributes, 0, nullptr, 0, nullptr)
                        : native::OpenKey(&key, kKeyRead, &attributes);
    }
    if (!NtSucceeded(status)) return false;
    key_ = key;
    return true;
}

bool RegDir::open(HKEY root, const wchar_t* path)
{
    if (!assign(FindRegistryRoot(root), path)) return false;
    return openNative(false);
}

bool RegDir::open(const wchar_t* fullPath)
{
    const wchar_t* rest = nullptr;
    const RegistryRoot* root = MatchRegistryRootName(fullPath, &rest);
    // Only a root name followed by a backslash counts: a bare "HKEY_CURRENT_USER"
    // would stand for the root itself, and a caller's writes would land at the top
    // of the user's registry.
    if (!root || rest == fullPath || rest[-1] != L'\\') return open(HKEY_CURRENT_USER, L"InvalidKey");
    assign(root, rest);
    return openNative(false);
}

void RegDir::close()
{
    if (key_) {
        native::Close(key_);
        key_ = nullptr;
    }
}

HKEY RegDir::getRoot() const { return root_ ? root_->key : nullptr; }

const wchar_t* RegDir::getRootName() const { return root_ ? root_->name : L""; }

const wchar_t* RegDir::getPath() const { return path_->CStr(); }

const wchar_t* RegDir::getNativePath() const { return nativePath_->CStr(); }

IRegDir* RegDir::getParent()
{
    if (!root_ || path_->Length() == 0) return nullptr;
    uint32_t cut = 0;
    path_->LastIndexOf(L'\\', &cut, StrBuffer::FROM_END);
    StrBuffer* parentPath = StrBuffer::Acquire(path_->Data(), static_cast<int32_t>(cut));
    RegDir* parent = Acquire();
    if (parent && parent->assign(root_, parentPath->CStr())) parent->openNative(false);
    parentPath->Release();
    return parent;
}

ArrayP* RegDir::listSubKeys()
{
    ArrayP* list = ArrayP::Acquire(&Pool());
    if (!list) return nullptr;
    if (!key_ && !openNative(false)) return list;

    ULONG size = 1024;
    void* buffer = std::malloc(size);
    StrBuffer* childPath = StrBuffer::Acquire();
    for (ULONG index = 0; buffer; ++index) {
        ULONG needed = 0;
        NtStatus status = native::EnumerateKey(key_, index, kKeyBasicInformation, buffer, size, &needed);
        if (status == kStatusBufferOverflow || status == kStatusBufferTooSmall) {
            std::free(buffer);
            size = needed + 64;
            buffer = std::malloc(size);
            --index;  // the same entry again
            continue;
        }
        if (!NtSucceeded(status)) break;  // kStatusNoMoreEntries, or the key went away
        const KeyBasicInformation* info = static_cast<const KeyBasicInformation*>(buffer);
        childPath->Assign(*path_);
        childPath->AppendChar(L'\\');
        childPath->Append(info->Name, static_cast<int32_t>(info->NameLength / sizeof(WCHAR)));
        RegDir* child = Acquire();
        if (!child) break;
        child->assign(root_, childPath->CStr());
        child->openNative(false);
        list->Add(child);
    }
    std::free(buffer);
    childPath->Release();
    return list;
}

// --- the key itself ------------------------------------------------------------

bool RegDir::exists()
{
    return openNative(false);
}

bool RegDir::create()
{
    if (key_) return true;
    if (!root_) return false;
    if (openNative(true)) return true;
    if (path_->Length() == 0) return false;
    // A parent is missing: create the path from the top down, one key at a time,
    // and stop at the first that cannot be made. (Asking each parent to create
    // itself would recurse as deep as the path, which callers choose.)
    RegDir* step = Acquire();
    StrBuffer* prefix = StrBuffer::Acquire();
    bool ready = step && prefix;
    uint32_t from = 0;
    uint32_t at = 0;
    while (ready && path_->IndexOf(L'\\', &at, from)) {
        prefix->Assign(path_->Data(), static_cast<int32_t>(at));
        ready = step->assign(root_, prefix->CStr()) && step->openNative(true);
        from = at + 1;
    }
    if (step) step->Release();
    if (prefix) prefix->Release();
    return ready && openNative(true);
}

bool RegDir::remove(bool recursive)
{
    // An empty path is the predefined root itself: never emptied or deleted from here.
    if (!root_ || path_->Length() == 0) return false;
    if (!key_ && !openNative(false)) return false;
    bool removedAll = true;
    ArrayP* children = listSubKeys();
    if (children) {
        for (uint32_t i = 0; i < children->Count(); ++i)
            removedAll = static_cast<RegDir*>(children->Get(i))->remove(true) && removedAll;
        children->Release();
    }
    if (recursive) {
        removedAll = NtSucceeded(native::DeleteKey(key_)) && removedAll;
        close();
    }
    return removedAll;
}

bool RegDir::flushKey()
{
    return key_ && NtSucceeded(native::FlushKey(key_));
}

// --- reading ---------------------------------------------------------------------

bool RegDir::readRaw(const wchar_t* name, uint32_t* type, uint32_t* size, int32_t requiredType)
{
    data_->Clear();
    if (!key_ && !openNative(false)) return false;
    UNICODE_STRING valueName;
    if (!InitUnicodeString(&valueName, name)) return false;

    SharedReadBuffer& shared = SharedBuffer();
    s::thread::ObjLocker::Guard guard(shared.lock);
    if (!shared.EnsureSize(SharedReadBuffer::kInitialSize)) return false;
    ULONG needed = 0;
    NtStatus status = native::QueryValueKey(key_, &valueName, kKeyValuePartialInformation,
                                            shared.bytes, shared.size, &needed);
    if (status == kStatusBufferOverflow || status == kStatusBufferTooSmall) {
        if (!shared.EnsureSize(needed + SharedReadBuffer::kGrowthSlack)) return false;
        status = native::QueryValueKey(key_, &valueName, kKeyValuePartialInformation,
                                       shared.bytes, shared.size, &needed);
    }
    if (!NtSucceeded(status)) return false;

    const KeyValuePartialInformation* info =
        reinterpret_cast<const KeyValuePartialInformation*>(shared.bytes);
    const ULONG header = static_cast<ULONG>(offsetof(KeyValuePartialInformation, Data));
    if (info->DataLength > shared.size - header) return false;
    if (requiredType != -1 && info->Type != static_cast<ULONG>(requiredType)) return false;
    if (info->DataLength > 0) data_->Append(info->Data, info->DataLength);
    if (type) *type = info->Type;
    if (size) *size = info->DataLength;
    return true;
}

const uint8_t* RegDir::getRawData() const
{
    return data_->Items();
}

uint32_t RegDir::getRawSize() const
{
    return data_->Count();
}

bool RegDir::hasValue(const wchar_t* name)
{
    return readRaw(name, nullptr, nullptr, -1);
}

bool RegDir::readSized(const wchar_t* name, uint32_t size)
{
    uint32_t actual = 0;
    return readRaw(name, nullptr, &actual, -1) && actual == size;
}

uint8_t RegDir::getU8(const wchar_t* name, uint8_t def)
{
    return readSized(name, 4) ? data_->Get(0) : def;
}

uint16_t RegDir::getU16(const wchar_t* name, uint16_t def)
{
    return readSized(name, 4) ? static_cast<uint16_t>(LoadLittleEndian(data_->Items(), 2)) : def;
}

uint32_t RegDir::getU32(const wchar_t* name, uint32_t def)
{
    return readSized(name, 4) ? static_cast<uint32_t>(LoadLittleEndian(data_->Items(), 4)) : def;
}

uint64_t RegDir::getU64(const wchar_t* name, uint64_t def)
{
    return readSized(name, 8) ? LoadLittleEndian(data_->Items(), 8) : def;
}

int8_t RegDir::getS8(const wchar_t* name, int8_t def)
{
    return static_cast<int8_t>(getU8(name, static_cast<uint8_t>(def)));
}

int16_t RegDir::getS16(const wchar_t* name, int16_t def)
{
    return static_cast<int16_t>(getU16(name, static_cast<uint16_t>(def)));
}

int32_t RegDir::getS32(const wchar_t* name, int32_t def)
{
    return static_cast<int32_t>(getU32(name, static_cast<uint32_t>(def)));
}

int64_t RegDir::getS64(const wchar_t* name, int64_t def)
{
    return static_cast<int64_t>(getU64(name, static_cast<uint64_t>(def)));
}

float RegDir::getF32(const wchar_t* name, float def)
{
    if (!readSized(name, 4)) return def;
    float value;
    std::memcpy(&value, data_->Items(), sizeof(value));
    return value;
}

double RegDir::getF64(const wchar_t* name, double def)
{
    if (!readSized(name, 8)) return def;
    double value;
    std::memcpy(&value, data_->Items(), sizeof(value));
    return value;
}

bool RegDir::getBool(const wchar_t* name, bool def)
{
    return readSized(name, 4) ? LoadLittleEndian(data_->Items(), 4) != 0 : def;
}

const wchar_t* RegDir::getString(const wchar_t* name, const wchar_t* def, bool* wasExpandable,
                                 bool expand)
{
    if (wasExpandable) *wasExpandable = false;
    uint32_t type = 0, size = 0;
    if (!readRaw(name, &type, &size, -1)) return def;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return def;
    text_->Clear();
    // The data need not be terminated, nor even of an even length: take the whole units
    // up to the first terminator.
    uint32_t units = size / sizeof(wchar_t);
    const uint8_t* bytes = data_->Items();
    for (uint32_t i = 0; i < units; ++i) {
        wchar_t unit = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit == 0) break;
        text_->AppendChar(unit);
    }
    if (type != REG_EXPAND_SZ) return text_->CStr();
    if (wasExpandable) *wasExpandable = true;
    if (!expand) return text_->CStr();

    // Sized by the expansion's own answer: an expanded text may be far longer than its
    // source, and a fixed buffer would cut it off.
    const wchar_t* source = text_->CStr();
    StrBuffer* expanded = StrBuffer::Acquire();
    DWORD needed = ExpandEnvironmentStringsW(source, nullptr, 0);
    bool done = false;
    for (int attempt = 0; attempt < 4 && needed > 0 && !done; ++attempt) {
        expanded->Reserve(needed);
        DWORD written = ExpandEnvironmentStringsW(source, expanded->Data(), needed);
        if (written == 0) break;
        if (written <= needed) {
            expanded->SetLength(written - 1);
            done = true;
        } else {
            needed = written;  // the environment grew in between
        }
    }
    if (done) text_->Assign(*expanded);
    expanded->Release();
    return text_->CStr();
}

ArrayU08* RegDir::getBytes(const wchar_t* name, ArrayU08* bytes)
{
    if (!readRaw(name, nullptr, nullptr, -1)) return nullptr;
    ArrayU08* out = bytes ? bytes : ArrayU08::Acquire();
    if (!out) return nullptr;
    out->Clear();
    if (data_->Count() > 0) out->Append(data_->Items(), data_->Count());
    return out;
}

// --- writing -----------------------------------------------------------------------

bool RegDir::removeValue(const wchar_t* name)
{
    if (!key_ && !openNative(false)) return false;
    UNICODE_STRING valueName;
    if (!InitUnicodeString(&valueName, name)) return false;
    return NtSucceeded(native::DeleteValueKey(key_, &valueName));
}

bool RegDir::setRaw(const wchar_t* name, uint32_t type, const void* data, uint32_t size)
{
    if (size > 0 && !data) return false;
    UNICODE_STRING valueName;
    if (!InitUnicodeString(&valueName, name)) return false;
    if (!key_ && !create()) return false;
    NtStatus status = native::SetValueKey(key_, &valueName, 0, type, data, size);
    if (status == kStatusKeyDeleted) {
        // Someone removed the key under the open handle: write into a new one rather than
        // losing the value.
        close();
        if (!create()) return false;
        status = native::SetValueKey(key_, &valueName, 0, type, data, size);
    }
    return NtSucceeded(status);
}

bool RegDir::setDword(const wchar_t* name, uint32_t value)
{
    uint8_t bytes[4];
    StoreLittleEndian(bytes, value, 4);
    return setRaw(name, REG_DWORD, bytes, 4);
}

bool RegDir::setText(const wchar_t* name, uint32_t type, const wchar_t* text)
{
    if (!text) text = L"";
    size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    if (bytes > 0xFFFFFFF0u) return false;
    return setRaw(name, type, text, static_cast<uint32_t>(bytes));
}

bool RegDir::setU8(const wchar_t* name, uint8_t value) { return setDword(name, value); }

bool RegDir::setU16(const wchar_t* name, uint16_t value) { return setDword(name, value); }

bool RegDir::setU32(const wchar_t* name, uint32_t value) { return setDword(name, value); }

bool RegDir::setS8(const wchar_t* name, int8_t value)
{
    return setDword(name, static_cast<uint32_t>(static_cast<int32_t>(value)));
}

bool RegDir::setS16(const wchar_t* name, int16_t value)
{
    return setDword(name, static_cast<uint32_t>(static_cast<int32_t>(value)));
}

bool RegDir::setS32(const wchar_t* name, int32_t value)
{
    return setDword(name, static_cast<uint32_t>(value));
}

bool RegDir::setU64(const wchar_t* name, uint64_t value)
{
    uint8_t bytes[8];
    StoreLittleEndian(bytes, value, 8);
    return setRaw(name, REG_BINARY, bytes, 8);
}

bool RegDir::setS64(const wchar_t* name, int64_t value)
{
    return setU64(name, static_cast<uint64_t>(value));
}

bool RegDir::setF32(const wchar_t* name, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    uint8_t bytes[4];
    StoreLittleEndian(bytes, bits, 4);
    return setRaw(name, REG_BINARY, bytes, 4);
}

bool RegDir::setF64(const wchar_t* name, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return setU64(name, bits);
}

bool RegDir::setBool(const wchar_t* name, bool value) { return setDword(name, value ? 1u : 0u); }

bool RegDir::setString(const wchar_t* name, const wchar_t* text)
{
    return setText(name, REG_SZ, text);
}

bool RegDir::setExpandableString(const wchar_t* name, const wchar_t* text)
{
    return setText(name, REG_EXPAND_SZ, text);
}

bool RegDir::setBytes(const wchar_t* name, const ArrayU08* bytes)
{
    if (!bytes || bytes->Count() == 0) return setRaw(name, REG_BINARY, nullptr, 0);
    return setRaw(name, REG_BINARY, bytes->Items(), bytes->Count());
}

}  // namespace s::reg::win
