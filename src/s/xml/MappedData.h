#pragma once
// The settings store over an XML file ("savedata\SaveData.xml" beside the
// program): sections are elements, values are attributes, the empty value name
// is the element's text.
//
// A section text is split at every "\" or "/" into element names (empty pieces
// are skipped); each name takes the FIRST child of that name, compared without
// regard to case. The empty section is the root. Values use the formats of
// s/xml/Node.h; getString decodes into the store's scratch text.
//
// flush() saves the whole tree to the file (when a file is set) through
// Node::save, which replaces the file in one step: a failed save leaves the old
// file whole and answers false. Without auto-flush nothing reaches the disk
// until flush(). A file that exists but could not be read when the store was
// opened (locked by another program, for instance) is never overwritten by this
// store: flush() answers false, so the settings in it are not lost.
//
// Pooled: take one with openFileStore() and give it back with Release(); the
// store owns its tree. No lock: one thread at a time.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/map/IMappedData.h"
#include "s/thread/Pooled.h"

namespace s::file::win {
class PathWin;
}
namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::xml {

class Node;

class MappedData : public s::map::IMappedData
{
    S_CLASS_ID(L"s_xml_MappedData")
    S_POOLED(MappedData)

public:
    /// The name of the root element of a new file.
    static constexpr const wchar_t* ROOT_NAME = L"savedata";

    MappedData();
    ~MappedData() override;

    /// Forgets the file, releases the tree, empties the texts, auto-flush off.
    void Reset() override;

    /// Opens the store on `path`: loads the file when it exists (its first element,
    /// whatever could be parsed, becomes the root), else starts with an empty root
    /// "savedata". Null or "" gives a store without file (flush() writes nothing).
    /// Answers false when the file exists but could not be read (see above).
    bool open(const wchar_t* path);
    /// The file's full path ("" without file).
    const wchar_t* getFile() const;
    /// The root element (owned by the store). The store forgets its current section,
    /// so the caller may change the tree directly.
    Node* getRoot()
    {
        sectionKnown_ = false;
        return root_;
    }

    // --- IMappedData ---------------------------------------------------------------
    bool flush() override;
    bool openSectionForWrite(const wchar_t* sec) override;
    bool removeSection(const wchar_t* sec) override;
    bool openSectionForRead(const wchar_t* sec) override;
    bool hasValue(const wchar_t* sec, const wchar_t* name) override;

    uint8_t getU8(const wchar_t* sec, const wchar_t* name, uint8_t def) override;
    uint16_t getU16(const wchar_t* sec, const wchar_t* name, uint16_t def) override;
    uint32_t getU32(const wchar_t* sec, const wchar_t* name, uint32_t def) override;
    uint64_t getU64(const wchar_t* sec, const wchar_t* name, uint64_t def) override;
    int8_t getS8(const wchar_t* sec, const wchar_t* name, int8_t def) override;
    int16_t getS16(const wchar_t* sec, const wchar_t* name, int16_t def) override;
    int32_t getS32(const wchar_t* sec, const wchar_t* name, int32_t def) override;
    int64_t getS64(const wchar_t* sec, const wchar_t* name, int64_t def) override;
    float getF32(const wchar_t* sec, const wchar_t* name, float def) override;
    double getF64(const wchar_t* sec, const wchar_t* name, double def) override;
    bool getBool(const wchar_t* sec, const wchar_t* name, bool def) override;
    /// *wasExpandable is always set to false; `expand` is ignored.
    const wchar_t* getString(const wchar_t* sec, const wchar_t* name, const wchar_t* def,
                             bool* wasExpandable, bool expand) override;
    s::col::_array::ArrayU08* getBytes(const wchar_t* sec, const wchar_t* name,
                                       s::col::_array::ArrayU08* bytes) override;
    bool removeValue(const wchar_t* sec, const wchar_t* name) override;

    bool setU8(const wchar_t* sec, const wchar_t* name, uint8_t value) override;
    bool setU16(const wchar_t* sec, const wchar_t* name, uint16_t value) override;
    bool setU32(const wchar_t* sec, const wchar_t* name, uint32_t value) override;
    bool setU64(const wchar_t* sec, const wchar_t* name, uint64_t value) override;
    bool setS8(const wchar_t* sec, const wchar_t* name, int8_t value) override;
    bool setS16(const wchar_t* sec, const wchar_t* name, int16_t value) override;
    bool setS32(const wchar_t* sec, const wchar_t* name, int32_t value) override;
    bool setS64(const wchar_t* sec, const wchar_t* name, int64_t value) override;
    bool setF32(const wchar_t* sec, const wchar_t* name, float value) override;
    bool setF64(const wchar_t* sec, const wchar_t* name, double value) override;
    bool setBool(const wchar_t* sec, const wchar_t* name, bool value) override;
    bool setString(const wchar_t* sec, const wchar_t* name, const wchar_t* text) override;
    /// The same as setString: the file keeps no expandable kind.
    bool setExpandableString(const wchar_t* sec, const wchar_t* name,
                             const wchar_t* text) override;
    bool setBytes(const wchar_t* sec, const wchar_t* name,
                  const s::col::_array::ArrayU08* bytes) override;

    bool getAutoFlush() const override { return autoFlush_ != 0; }
    void setAutoFlush(bool on) override { autoFlush_ = on ? 1 : 0; }

private:
    MappedData(const MappedData&) = delete;
    MappedData& operator=(const MappedData&) = delete;

    /// Walks from the root along sec; creates missing elements when `create`.
    Node* walk(const wchar_t* sec, bool create) const;
    /// Makes sec current (reusing the current node for the same text); null when missing.
    Node* section(const wchar_t* sec, bool create);
    /// Flushes when auto-flush is on; answers ok && the flush result.
    bool finishWrite(bool ok);

    s::file::win::PathWin* file_ = nullptr;  // owned, or null: no file
    s::str::strbuffer::StrBuffer* scratch_;  // owned; getString answers
    s::str::strbuffer::StrBuffer* section_;  // owned; the current section text
    Node* root_ = nullptr;                   // owned
    Node* current_ = nullptr;                // inside root_'s tree, or null
    bool sectionKnown_ = false;              // section_/current_ describe a walk
    bool unreadable_ = false;                // the file exists but could not be read
    uint8_t autoFlush_ = 0;
};

/// A store from the pool opened on `path` (see MappedData::open); the caller releases it.
MappedData* openFileStore(const wchar_t* path);

} // namespace s::xml
