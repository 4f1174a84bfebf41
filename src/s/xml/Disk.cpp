#include "s/xml/Disk.h"

#include <windows.h>

#include "s/col/_array/ArrayU08.h"
#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathWin.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::xml::disk {

using s::file::win::PathWin;
using s::str::strbuffer::StrBuffer;

bool ReadAllBytes(PathWin* path, s::col::_array::ArrayU08* bytes)
{
    if (!path || !bytes || path->GetLength() == 0)
        return false;
    return path->ReadAll(bytes);
}

bool ReadAllBytes(const wchar_t* path, s::col::_array::ArrayU08* bytes)
{
    if (!path || !*path)
        return false;
    PathWin* file = PathWin::FromText(path);
    if (!file)
        return false;
    const bool ok = ReadAllBytes(file, bytes);
    file->Release();
    return ok;
}

bool ReplaceWithBytes(PathWin* path, const uint8_t* data, uint32_t count)
{
    if (!path || path->GetLength() == 0 || (count && !data))
        return false;
    StrBuffer* temporaryText = StrBuffer::Acquire(path->GetFullPath());
    if (!temporaryText)
        return false;
    temporaryText->Append(L".tmp");
    PathWin* temporary = PathWin::FromText(temporaryText->CStr());
    temporaryText->Release();
    if (!temporary)
        return false;

    // The stream makes the missing folders; a file that cannot be made stays unopened.
    s::file::win::FileOutputStream* stream = temporary->OpenOutputStream(false);
    bool ok = stream && stream->IsOpen();
    if (ok && count) {
        uint32_t written = 0;
        ok = stream->Write(data, count, &written) && written == count;
    }
    ok = ok && stream->Flush();
    if (stream)
        stream->CloseAndRelease();
    if (ok)
        ok = MoveFileExW(temporary->GetApiPath(), path->GetApiPath(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!ok)
        DeleteFileW(temporary->GetApiPath());
    temporary->Release();
    return ok;
}

bool ReplaceWithBytes(const wchar_t* path, const uint8_t* data, uint32_t count)
{
    if (!path || !*path)
        return false;
    PathWin* file = PathWin::FromText(path);
    if (!file)
        return false;
    const bool ok = ReplaceWithBytes(file, data, count);
    file->Release();
    return ok;
}

} // namespace s::xml::disk
