#include "s/file/win/StreamRecords.h"

#include <cstring>
#include <cwchar>

namespace s::file::win {

namespace {
// Layout of one record: next offset (4), name length (4), size (8), allocation (8), name.
constexpr uint32_t kNameOffset = 24;
} // namespace

uint32_t ReadStreamRecords(const void* buffer, uint32_t bytes, StreamRecordVisitor visit,
                           void* context)
{
    const unsigned char* base = static_cast<const unsigned char*>(buffer);
    uint32_t reported = 0;
    uint32_t at = 0;
    while (base && uint64_t(at) + kNameOffset <= bytes) {
        uint32_t next = 0, nameBytes = 0;
        int64_t size = 0;
        std::memcpy(&next, base + at, 4);
        std::memcpy(&nameBytes, base + at + 4, 4);
        std::memcpy(&size, base + at + 8, 8);
        if (nameBytes == 0 || uint64_t(at) + kNameOffset + nameBytes > bytes)
            break;
        // The name may sit unaligned in a damaged buffer: copy it out.
        const uint32_t chars = nameBytes / 2;
        wchar_t name[780];
        const uint32_t kept = chars < 779 ? chars : 779;
        std::memcpy(name, base + at + kNameOffset, size_t(kept) * 2);
        name[kept] = 0;
        if (nameBytes > 3 && _wcsicmp(name, L"::$DATA") != 0) {
            uint32_t end = kept;
            for (uint32_t i = 1; i < kept; ++i) {
                if (name[i] == L':') {
                    end = i;
                    break;
                }
            }
            if (visit)
                visit(context, name, end, size);
            ++reported;
        }
        if (next == 0 || uint64_t(at) + next > bytes)
            break;
        at += next;
    }
    return reported;
}

uint32_t ReadStreamAnswer(const void* buffer, uint32_t bufferBytes, uint64_t answered,
                          StreamRecordVisitor visit, void* context)
{
    if (answered == 0)
        return 0;
    const uint32_t bytes = answered < bufferBytes ? uint32_t(answered) : bufferBytes;
    return ReadStreamRecords(buffer, bytes, visit, context);
}

} // namespace s::file::win
