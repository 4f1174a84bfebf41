#include "s/app/win/HandOver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::str::strarray::StrArray;

namespace s::app::win {

namespace {

constexpr size_t kHeaderBytes = 4 * sizeof(uint32_t);

// What the mapping holds: the first instance's window and process.
struct Published
{
    uint64_t window;
    uint32_t processId;
    uint32_t reserved;
};

void putU32(std::vector<uint8_t>* out, size_t at, uint32_t value)
{
    std::memcpy(out->data() + at, &value, sizeof value);
}

uint32_t getU32(const uint8_t* data, size_t at)
{
    uint32_t value;
    std::memcpy(&value, data + at, sizeof value);
    return value;
}

// The names of the gate's objects: a digest of the program file's path in lower case, so
// that every spelling of the same file meets at the same gate and other copies of the
// program keep their own.
std::wstring gateName(const wchar_t* programPath, const wchar_t* part)
{
    std::wstring lower = programPath ? programPath : L"";
    if (!lower.empty())
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    uint64_t digest = 14695981039346656037ull;
    for (wchar_t c : lower)
    {
        digest ^= static_cast<uint16_t>(c);
        digest *= 1099511628211ull;
    }
    wchar_t hex[17];
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(digest));
    return std::wstring(L"Local\\s.app.instance.") + hex + L"." + part;
}

} // namespace

uint32_t EncodeHandOver(const StrArray* paths, uint32_t first, std::vector<uint8_t>* payload)
{
    payload->clear();
    if (!paths || first >= paths->Count())
        return first;
    size_t units = 0;
    uint32_t end = first;
    while (end < paths->Count() && end - first < MAX_PATHS_PER_MESSAGE)
    {
        const uint32_t length = paths->Get(end)->Length();
        if (length == 0 || length > MAX_PATH_UNITS)
            break;
        if (kHeaderBytes + (units + length + 1) * sizeof(wchar_t) > MAX_HAND_OVER_BYTES)
            break;
        units += length + 1;
        ++end;
    }
    if (end == first)
        return first;
    payload->resize(kHeaderBytes + units * sizeof(wchar_t));
    putU32(payload, 0, HAND_OVER_MAGIC);
    putU32(payload, 4, HAND_OVER_VERSION);
    putU32(payload, 8, end - first);
    putU32(payload, 12, static_cast<uint32_t>(units));
    size_t at = kHeaderBytes;
    for (uint32_t i = first; i < end; ++i)
    {
        const auto* path = paths->Get(i);
        const size_t bytes = (path->Length() + 1) * sizeof(wchar_t);
        std::memcpy(payload->data() + at, path->CStr(), bytes);
        at += bytes;
    }
    return end;
}

bool DecodeHandOver(ULONG_PTR key, const void* data, size_t bytes, StrArray* out)
{
    if (key != HAND_OVER_KEY || !data || !out || bytes < kHeaderBytes || bytes > MAX_HAND_OVER_BYTES)
        return false;
    const uint8_t* raw = static_cast<const uint8_t*>(data);
    const uint32_t count = getU32(raw, 8);
    const uint32_t units = getU32(raw, 12);
    if (getU32(raw, 0) != HAND_OVER_MAGIC || getU32(raw, 4) != HAND_OVER_VERSION || count == 0 ||
        count > MAX_PATHS_PER_MESSAGE || bytes != kHeaderBytes + static_cast<size_t>(units) * sizeof(wchar_t))
        return false;
    // The units are copied out first: the sender's block is not aligned for wchar_t.
    std::wstring text(units, L'\0');
    std::memcpy(text.data(), raw + kHeaderBytes, static_cast<size_t>(units) * sizeof(wchar_t));
    // Every path non-empty, not too long and ended by a NUL; exactly `count` of them.
    uint32_t found = 0;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != L'\0')
            continue;
        const size_t length = i - start;
        if (length == 0 || length > MAX_PATH_UNITS || ++found > count)
            return false;
        start = i + 1;
    }
    if (found != count || start != text.size())
        return false;
    for (size_t at = 0; at < text.size(); at += std::wcslen(text.c_str() + at) + 1)
        out->Add(text.c_str() + at);
    return true;
}

bool SendHandOver(HWND window, const StrArray* paths, DWORD timeoutMs)
{
    if (!window || !paths || paths->IsEmpty())
        return false;
    std::vector<uint8_t> payload;
    uint32_t next = 0;
    while (next < paths->Count())
    {
        const uint32_t end = EncodeHandOver(paths, next, &payload);
        if (end == next)
            return false; // a path that cannot travel
        COPYDATASTRUCT message{};
        message.dwData = HAND_OVER_KEY;
        message.cbData = static_cast<DWORD>(payload.size());
        message.lpData = payload.data();
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&message),
                                 SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs, &answer) ||
            answer == 0)
            return false;
        next = end;
    }
    return true;
}

// --- the gate ---------------------------------------------------------------------------------

InstanceGate::InstanceGate(const wchar_t* programPath)
{
    mutex_ = CreateMutexW(nullptr, FALSE, gateName(programPath, L"first").c_str());
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Published),
                                  gateName(programPath, L"window").c_str());
    ready_ = CreateEventW(nullptr, TRUE, FALSE, gateName(programPath, L"ready").c_str());
    rosterMapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, ROSTER_SLOTS * sizeof(LONG),
                                        gateName(programPath, L"starts").c_str());
    if (rosterMapping_)
        roster_ = static_cast<volatile LONG*>(
            MapViewOfFile(rosterMapping_, FILE_MAP_WRITE, 0, 0, ROSTER_SLOTS * sizeof(LONG)));
    DWORD length = MAX_PATH;
    if (!QueryFullProcessImageNameW(GetCurrentProcess(), 0, image_, &length))
        image_[0] = L'\0';
    // Without the system's objects every start is a first one, as without the gate.
    first_ = !mutex_ || tryBecomeFirst();
}

InstanceGate::~InstanceGate()
{
    if (roster_)
        UnmapViewOfFile(const_cast<LONG*>(roster_));
    if (rosterMapping_)
        CloseHandle(rosterMapping_);
    if (first_)
    {
        publishWindow(nullptr);
        if (mutex_)
            ReleaseMutex(mutex_);
    }
    for (HANDLE handle : {ready_, mapping_, mutex_})
    {
        if (handle)
            CloseHandle(handle);
    }
}

bool InstanceGate::tryBecomeFirst()
{
    const DWORD state = WaitForSingleObject(mutex_, 0);
    if (state != WAIT_OBJECT_0 && state != WAIT_ABANDONED)
        return false;
    first_ = true;
    // What an earlier first published is gone with it.
    publishWindow(nullptr);
    return true;
}

void InstanceGate::publishWindow(HWND window)
{
    if (!first_ || !mapping_)
        return;
    if (void* view = MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(Published)))
    {
        Published published{};
        published.window = reinterpret_cast<uint64_t>(window);
        published.processId = window ? GetCurrentProcessId() : 0;
        std::memcpy(view, &published, sizeof published);
        UnmapViewOfFile(view);
    }
    if (ready_)
    {
        if (window)
            SetEvent(ready_);
        else
            ResetEvent(ready_);
    }
}

HWND InstanceGate::readPublished() const
{
    Published published{};
    if (!mapping_)
        return nullptr;
    if (const void* view = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(Published)))
    {
        std::memcpy(&published, view, sizeof published);
        UnmapViewOfFile(view);
    }
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(published.window));
    DWORD owner = 0;
    // A window handle is only believed while it still belongs to the process that
    // published it and is shown: a hidden one is closing, and its process withdraws it and
    // ends soon after (items or a request sent to it would go with it).
    if (!window || !IsWindow(window) || !GetWindowThreadProcessId(window, &owner) || owner != published.processId ||
        owner == GetCurrentProcessId() || !IsWindowVisible(window))
        return nullptr;
    return window;
}

HWND InstanceGate::waitForFirstWindow(DWORD milliseconds)
{
    if (first_ || !mutex_)
        return nullptr;
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;)
    {
        if (!ready_ || WaitForSingleObject(ready_, 50) == WAIT_OBJECT_0)
        {
            if (HWND window = readPublished())
                return window;
            Sleep(20); // published, but by a first that has gone or is closing
        }
        if (tryBecomeFirst())
            return nullptr;
        if (GetTickCount64() >= deadline)
            return nullptr;
        if (!ready_)
            Sleep(50);
    }
}

void InstanceGate::markHandedOver()
{
    if (first_ || !roster_ || markedDone_)
        return;
    const LONG self = static_cast<LONG>(GetCurrentProcessId());
    for (uint32_t slot = 0; slot < ROSTER_SLOTS; ++slot)
    {
        if (InterlockedCompareExchange(&roster_[slot], self, 0) == 0)
        {
            markedDone_ = true;
            return;
        }
    }
}

namespace {

bool hasEnded(DWORD processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr)
        return GetLastError() == ERROR_INVALID_PARAMETER; // no such process
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

} // namespace

uint32_t InstanceGate::countHandOversOnTheWay() const
{
    if (image_[0] == L'\0')
        return 0;
    const DWORD self = GetCurrentProcessId();
    DWORD session = 0;
    ProcessIdToSessionId(self, &session);
    // The done starts; slots of processes that have ended are freed on the way.
    std::vector<DWORD> done;
    if (roster_)
    {
        for (uint32_t slot = 0; slot < ROSTER_SLOTS; ++slot)
        {
            const LONG id = InterlockedCompareExchange(&roster_[slot], 0, 0);
            if (id == 0)
                continue;
            if (hasEnded(static_cast<DWORD>(id)))
                InterlockedCompareExchange(&roster_[slot], 0, id);
            else
                done.push_back(static_cast<DWORD>(id));
        }
    }
    const wchar_t* fileName = std::wcsrchr(image_, L'\\');
    fileName = fileName ? fileName + 1 : image_;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    uint32_t onTheWay = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    {
        const DWORD id = entry.th32ProcessID;
        if (id == self || lstrcmpiW(entry.szExeFile, fileName) != 0 ||
            std::find(done.begin(), done.end(), id) != done.end())
            continue;
        DWORD itsSession = 0;
        if (!ProcessIdToSessionId(id, &itsSession) || itsSession != session)
            continue;
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
        if (process == nullptr)
            continue;
        wchar_t image[MAX_PATH];
        DWORD length = MAX_PATH;
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT &&
            QueryFullProcessImageNameW(process, 0, image, &length) && lstrcmpiW(image, image_) == 0)
            ++onTheWay;
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return onTheWay;
}

} // namespace s::app::win
