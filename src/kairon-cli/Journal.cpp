#include "kairon-cli/Journal.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "kairon-cli/Items.h"
#include "s/col/_array/ArrayU08.h"
#include "s/file/win/PathWin.h"

namespace kairon::cli
{

using s::file::win::PathWin;

namespace
{

const char HEAD[] = "Kairon journal 1";
const wchar_t EXTENSION[] = L".journal.txt";

std::string Utf8(const std::wstring& text)
{
    std::string out;
    if (text.empty())
        return out;
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                            nullptr);
    return out;
}

std::wstring Wide(const char* bytes, size_t count)
{
    std::wstring out;
    if (count == 0)
        return out;
    const int n = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(count), nullptr, 0);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(count), out.data(), n);
    return out;
}

// The command line in one line: control characters (a path holds none) become blanks.
std::wstring OneLine(const std::wstring& text)
{
    std::wstring out = text;
    for (wchar_t& c : out)
    {
        if (c < 0x20)
            c = L' ';
    }
    return out;
}

bool ParseTicks(const std::wstring& text, int64_t& out)
{
    if (text.empty() || text.size() > 19)
        return false;
    int64_t v = 0;
    for (wchar_t c : text)
    {
        if (c < L'0' || c > L'9')
            return false;
        v = v * 10 + (c - L'0');
    }
    out = v;
    return true;
}

std::vector<std::wstring> SplitTabs(const std::wstring& line)
{
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (;;)
    {
        const size_t tab = line.find(L'\t', start);
        if (tab == std::wstring::npos)
        {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

std::wstring FileStamp()
{
    SYSTEMTIME st;
    GetSystemTime(&st);
    wchar_t text[64];
    swprintf(text, 64, L"%04u%02u%02uT%02u%02u%02u%03uZ-%lu", st.wYear, st.wMonth, st.wDay, st.wHour,
             st.wMinute, st.wSecond, st.wMilliseconds, static_cast<unsigned long>(GetCurrentProcessId()));
    return text;
}

} // namespace

std::wstring NowUtcText()
{
    SYSTEMTIME st;
    GetSystemTime(&st);
    wchar_t text[40];
    swprintf(text, 40, L"%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
             st.wSecond, st.wMilliseconds);
    return text;
}

std::wstring JournalFolder()
{
    wchar_t given[MAX_PATH * 4];
    const DWORD n = GetEnvironmentVariableW(L"KAIRON_JOURNAL_DIR", given, MAX_PATH * 4);
    if (n > 0 && n < MAX_PATH * 4)
        return given;
    wchar_t local[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, local) !=
        S_OK)
        return std::wstring();
    return std::wstring(local) + L"\\Kairon\\Journal";
}

bool JournalWriter::Create(const std::wstring& folder, const std::wstring& commandLine, std::wstring& error)
{
    Close();
    if (folder.empty())
    {
        error = L"no folder for the journal (the local application data folder is unknown)";
        return false;
    }
    {
        HeldPath dir(folder);
        if (dir.p == nullptr || (!dir.p->Exists() && !dir.p->CreateDirectory()))
        {
            error = L"cannot make the journal folder " + folder;
            return false;
        }
    }
    for (int attempt = 0; attempt < 10 && file_ == INVALID_HANDLE_VALUE; ++attempt)
    {
        path_ = folder + L"\\" + FileStamp() + (attempt ? L"-" + std::to_wstring(attempt) : L"") + EXTENSION;
        file_ = CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (file_ == INVALID_HANDLE_VALUE)
    {
        error = L"cannot make a journal in " + folder;
        path_.clear();
        return false;
    }
    count_ = 0;
    std::wstring head = L"Kairon journal 1\nstarted\t" + NowUtcText() + L"\ncommand\t" + OneLine(commandLine);
    if (!WriteLine(head))
    {
        error = L"cannot write the journal " + path_;
        return false;
    }
    return true;
}

bool JournalWriter::Map(uint64_t size)
{
    Unmap();
    mapping_ = CreateFileMappingW(file_, nullptr, PAGE_READWRITE, static_cast<DWORD>(size >> 32),
                                  static_cast<DWORD>(size & 0xFFFFFFFFu), nullptr);
    if (mapping_ == nullptr)
        return false;
    view_ = static_cast<char*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, static_cast<SIZE_T>(size)));
    if (view_ == nullptr)
    {
        Unmap();
        return false;
    }
    capacity_ = size;
    return true;
}

void JournalWriter::Unmap()
{
    if (view_ != nullptr)
        UnmapViewOfFile(view_);
    if (mapping_ != nullptr)
        CloseHandle(mapping_);
    view_ = nullptr;
    mapping_ = nullptr;
    capacity_ = 0;
}

bool JournalWriter::WriteLine(const std::wstring& line)
{
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    utf8_ = Utf8(line);
    utf8_ += '\n';
    if (used_ + utf8_.size() > capacity_)
    {
        // Room for many more lines: the file is mapped afresh only now and then.
        constexpr uint64_t STEP = 1 << 20;
        const uint64_t wanted = std::max<uint64_t>(capacity_ * 2, used_ + utf8_.size() + STEP);
        if (!Map(wanted))
            return false;
    }
    memcpy(view_ + used_, utf8_.data(), utf8_.size());
    used_ += utf8_.size();
    return true;
}

bool JournalWriter::Add(const wchar_t* path, bool folder, const TickTimes& before, const TickTimes& after)
{
    std::wstring line = folder ? L"item\tD\t" : L"item\tF\t";
    for (int64_t t : {before.created, before.modified, before.accessed, after.created, after.modified,
                      after.accessed})
    {
        line += std::to_wstring(t);
        line += L'\t';
    }
    line += path;
    if (!WriteLine(line))
        return false;
    ++count_;
    return true;
}

void JournalWriter::Close()
{
    if (file_ == INVALID_HANDLE_VALUE)
        return;
    Unmap();
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(used_);
    if (SetFilePointerEx(file_, end, nullptr, FILE_BEGIN))
        SetEndOfFile(file_);
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    used_ = 0;
    if (count_ == 0)
        DeleteFileW(path_.c_str());
}

bool ReadJournal(const std::wstring& file, std::vector<JournalEntry>& entries, bool& undone, std::wstring& error)
{
    entries.clear();
    undone = false;
    HeldPath path(file);
    s::col::_array::ArrayU08* bytes = s::col::_array::ArrayU08::Acquire();
    const bool read = path.p != nullptr && path.p->ReadAll(bytes);
    std::string text(reinterpret_cast<const char*>(bytes->Items()), bytes->Count());
    bytes->Release();
    if (!read)
    {
        error = L"cannot read the journal " + file;
        return false;
    }
    if (text.compare(0, sizeof HEAD - 1, HEAD) != 0)
    {
        error = file + L" is not a Kairon journal";
        return false;
    }
    size_t start = 0;
    for (;;)
    {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break; // no line end: cut short by an interruption
        // The room a mapped journal had not used yet reads as zero bytes.
        while (start < end && text[start] == '\0')
            ++start;
        const std::wstring line = Wide(text.data() + start, end - start);
        start = end + 1;
        const std::vector<std::wstring> f = SplitTabs(line);
        if (f[0] == L"undone")
            undone = true;
        if (f[0] != L"item" || f.size() != 9 || (f[1] != L"F" && f[1] != L"D"))
            continue;
        JournalEntry e;
        e.folder = f[1] == L"D";
        if (!ParseTicks(f[2], e.before.created) || !ParseTicks(f[3], e.before.modified) ||
            !ParseTicks(f[4], e.before.accessed) || !ParseTicks(f[5], e.after.created) ||
            !ParseTicks(f[6], e.after.modified) || !ParseTicks(f[7], e.after.accessed) || f[8].empty())
            continue;
        e.path = f[8];
        entries.push_back(std::move(e));
    }
    return true;
}

bool FindLastJournal(const std::wstring& folder, std::wstring& file)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((folder + L"\\*" + EXTENSION).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    do
    {
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(d.cFileName);
    } while (FindNextFileW(h, &d));
    FindClose(h);
    // Names begin with the start time: the newest sorts last.
    std::sort(names.begin(), names.end());
    for (auto it = names.rbegin(); it != names.rend(); ++it)
    {
        std::vector<JournalEntry> entries;
        bool undone = false;
        std::wstring error;
        const std::wstring candidate = folder + L"\\" + *it;
        if (ReadJournal(candidate, entries, undone, error) && !undone)
        {
            file = candidate;
            return true;
        }
    }
    return false;
}

bool MarkUndone(const std::wstring& file)
{
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    // After the last complete line: an interrupted run may have left unused room or a line
    // cut short behind it.
    std::string text;
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0)
        text.append(buffer, n);
    const size_t lastEnd = text.rfind('\n');
    LARGE_INTEGER at;
    at.QuadPart = lastEnd == std::string::npos ? 0 : static_cast<LONGLONG>(lastEnd + 1);
    const std::string line = Utf8(L"undone\t" + NowUtcText()) + "\n";
    DWORD written = 0;
    const bool ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h) &&
                    WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                    written == line.size();
    CloseHandle(h);
    return ok;
}

} // namespace kairon::cli
