#include "s/reg/MappedData.h"

#include "s/col/_array/ArrayU08.h"
#include "s/reg/win/RegDir.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::col::_array::ArrayU08;
using s::reg::win::RegDir;
using s::str::strbuffer::StrBuffer;

namespace s::reg {

namespace {

// A store's members go back to these pools when the store pool is destroyed at process
// exit; pools are destroyed in reverse order of creation, so these are made first.
const bool g_memberPoolsMadeFirst = (StrBuffer::Pool(), RegDir::Pool(), true);

const wchar_t* OrEmpty(const wchar_t* text) { return text ? text : L""; }

}  // namespace

MappedData::MappedData()
    : scratchPath_(StrBuffer::Acquire()), section_(StrBuffer::Acquire()), text_(StrBuffer::Acquire())
{
    (void)g_memberPoolsMadeFirst;
}

MappedData::~MappedData()
{
    releaseCurrent();
    if (base_) base_->Release();
    if (scratchPath_) scratchPath_->Release();
    if (section_) section_->Release();
    if (text_) text_->Release();
}

void MappedData::Reset()
{
    releaseCurrent();
    if (base_) {
        base_->Release();
        base_ = nullptr;
    }
    scratchPath_->Clear();
    section_->Clear();
    text_->Clear();
    autoFlush_ = false;
}

MappedData* openRegistryStore(const wchar_t* path)
{
    MappedData* store = MappedData::Acquire();
    if (store) store->openBase(HKEY_CURRENT_USER, path);
    return store;
}

bool MappedData::openBase(HKEY root, const wchar_t* path)
{
    releaseCurrent();
    if (!base_) base_ = RegDir::Acquire();
    if (!base_) return false;
    base_->open(root, path);
    if (!base_->getRoot()) return false;
    section_->Clear();
    current_ = openBelowBase(L"");
    return true;
}

void MappedData::releaseCurrent()
{
    if (current_) {
        current_->Release();
        current_ = nullptr;
    }
}

RegDir* MappedData::openBelowBase(const wchar_t* sec)
{
    if (!base_ || !base_->getRoot()) return nullptr;
    scratchPath_->Assign(base_->getPath());
    scratchPath_->AppendChar(L'\\');
    scratchPath_->Append(OrEmpty(sec));
    return RegDir::Open(base_->getRoot(), scratchPath_->CStr());
}

bool MappedData::flush()
{
    return true;
}

bool MappedData::finishWrite(bool written)
{
    if (autoFlush_) flush();
    return written;
}

// --- sections ------------------------------------------------------------------------

RegDir* MappedData::readDirectory(const wchar_t* sec)
{
    sec = OrEmpty(sec);
    if (section_->EqualsIgnoreCase(sec)) return current_;
    section_->Assign(sec);
    releaseCurrent();
    RegDir* dir = openBelowBase(sec);
    if (dir && !dir->isOpen()) {
        dir->Release();
        dir = nullptr;
    }
    current_ = dir;
    return current_;
}

RegDir* MappedData::writeDirectory(const wchar_t* sec)
{
    sec = OrEmpty(sec);
    if (!section_->EqualsIgnoreCase(sec)) {
        section_->Assign(sec);
        releaseCurrent();
    }
    if (current_ && current_->isOpen()) return current_;
    releaseCurrent();
    RegDir* dir = openBelowBase(sec);
    if (dir && !dir->isOpen() && !dir->create()) {
        dir->Release();
        dir = nullptr;
    }
    current_ = dir;
    return current_;
}

bool MappedData::openSectionForRead(const wchar_t* sec)
{
    return readDirectory(sec) != nullptr;
}

bool MappedData::openSectionForWrite(const wchar_t* sec)
{
    return finishWrite(writeDirectory(sec) != nullptr);
}

bool MappedData::removeSection(const wchar_t* sec)
{
    sec = OrEmpty(sec);
    section_->Assign(sec);
    releaseCurrent();
    bool removed = false;
    RegDir* dir = openBelowBase(sec);
    if (dir) {
        if (dir->isOpen()) removed = dir->remove(true);
        dir->Release();
    }
    return finishWrite(removed);
}

// --- reading ---------------------------------------------------------------------------

bool MappedData::hasValue(const wchar_t* sec, const wchar_t* name)
{
    RegDir* dir = readDirectory(sec);
    return dir && dir->hasValue(name);
}

uint8_t MappedData::getU8(const wchar_t* sec, const wchar_t* name, uint8_t def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getU8(name, def) : def;
}

uint16_t MappedData::getU16(const wchar_t* sec, const wchar_t* name, uint16_t def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getU16(name, def) : def;
}

uint32_t MappedData::getU32(const wchar_t* sec, const wchar_t* name, uint32_t def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getU32(name, def) : def;
}

uint64_t MappedData::getU64(const wchar_t* sec, const wchar_t* name, uint64_t def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getU64(name, def) : def;
}

int8_t MappedData::getS8(const wchar_t* sec, const wchar_t* name, int8_t def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getS8(name, def) : def;
}

int16_t MappedData::getS16(const wchar_t* sec, const wchar_t* name, int16_t def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getS16(name, def) : def;
}

int32_t MappedData::getS32(const wchar_t* sec, const wchar_t* name, int32_t def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getS32(name, def) : def;
}

int64_t MappedData::getS64(const wchar_t* sec, const wchar_t* name, int64_t def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getS64(name, def) : def;
}

float MappedData::getF32(const wchar_t* sec, const wchar_t* name, float def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getF32(name, def) : def;
}

double MappedData::getF64(const wchar_t* sec, const wchar_t* name, double def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getF64(name, def) : def;
}

bool MappedData::getBool(const wchar_t* sec, const wchar_t* name, bool def)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getBool(name, def) : def;
}

const wchar_t* MappedData::getString(const wchar_t* sec, const wchar_t* name, const wchar_t* def,
                                     bool* wasExpandable, bool expand)
{
    if (wasExpandable) *wasExpandable = false;
    RegDir* dir = readDirectory(sec);
    if (!dir) return def;
    const wchar_t* text = dir->getString(name, def, wasExpandable, expand);
    if (text == def) return def;
    // The directory's text lives only as long as the section stays current; the caller
    // may well read another section before using this one.
    text_->Assign(text);
    return text_->CStr();
}

ArrayU08* MappedData::getBytes(const wchar_t* sec, const wchar_t* name, ArrayU08* bytes)
{
    RegDir* dir = readDirectory(sec);
    return dir ? dir->getBytes(name, bytes) : bytes;
}

// --- writing ---------------------------------------------------------------------------

bool MappedData::removeValue(const wchar_t* sec, const wchar_t* name)
{
    RegDir* dir = readDirectory(sec);
    return finishWrite(dir && dir->removeValue(name));
}

bool MappedData::setU8(const wchar_t* sec, const wchar_t* name, uint8_t value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setU8(name, value));
}

bool MappedData::setU16(const wchar_t* sec, const wchar_t* name, uint16_t value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setU16(name, value));
}

bool MappedData::setU32(const wchar_t* sec, const wchar_t* name, uint32_t value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setU32(name, value));
}

bool MappedData::setU64(const wchar_t* sec, const wchar_t* name, uint64_t value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setU64(name, value));
}

bool MappedData::setS8(const wchar_t* sec, const wchar_t* name, int8_t value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setS8(name, value));
}

bool MappedData::setS16(const wchar_t* sec, const wchar_t* name, int16_t value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setS16(name, value));
}

bool MappedData::setS32(const wchar_t* sec, const wchar_t* name, int32_t value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setS32(name, value));
}

bool MappedData::setS64(const wchar_t* sec, const wchar_t* name, int64_t value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setS64(name, value));
}

bool MappedData::setF32(const wchar_t* sec, const wchar_t* name, float value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setF32(name, value));
}

bool MappedData::setF64(const wchar_t* sec, const wchar_t* name, double value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setF64(name, value));
}

bool MappedData::setBool(const wchar_t* sec, const wchar_t* name, bool value)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setBool(name, value));
}

bool MappedData::setString(const wchar_t* sec, const wchar_t* name, const wchar_t* text)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setString(name, text));
}

bool MappedData::setExpandableString(const wchar_t* sec, const wchar_t* name, const wchar_t* text)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setExpandableString(name, text));
}

bool MappedData::setBytes(const wchar_t* sec, const wchar_t* name, const ArrayU08* bytes)
{
    RegDir* dir = writeDirectory(sec);
    return finishWrite(dir && dir->setBytes(name, bytes));
}

}  // namespace s::reg
