#pragma once
// A pooled input stream over the bytes of an array, with its own position.
// Made by ArrayBase::OpenInputStream(); the caller Release()s it. The array is
// not owned and must outlive the stream; Close() detaches it (then nothing is read).

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/io/IInputStream.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {
class ArrayBase;
}

namespace s::col {

class CollectionInputStream : public s::base::IObject,
                              public s::io::IInputStream,
                              public s::thread::IPoolable
{
    S_CLASS_ID(L"s_col_CollectionInputStream")
    S_POOLED(CollectionInputStream)

public:
    /// Reads `array` from its start.
    void Open(const s::col::_array::ArrayBase* array);

    bool Read(void* buffer, uint32_t n, uint32_t* read) override;
    void Close() override;
    int64_t GetPosition() const override { return position_; }
    bool IsSeekable() const override { return true; }
    bool Rewind() override;
    bool SeekEnd() override;
    /// 0 .. the array's byte size.
    bool SetPosition(int64_t position) override;
    bool SeekFromEnd(int64_t n) override;
    bool Skip(int64_t n) override;
    bool Back(int64_t n) override;
    /// Detached, position 0.
    void Reset() override;

protected:
    CollectionInputStream() = default;
    ~CollectionInputStream() override = default;

private:
    int64_t Size() const;

    const s::col::_array::ArrayBase* array_ = nullptr;
    uint32_t position_ = 0;
};

} // namespace s::col
