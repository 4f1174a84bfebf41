#include "s/file/gui/dialogs/filetime/Journal.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "s/col/_array/ArrayU08.h"
#include "s/file/win/PathWin.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"

namespace s::file::gui::dialogs::filetime
{

using s::file::win::PathWin;

namespace
{

// A PathWin of a text, given back to its pool at the end of the scope (null when none
// could be made).
struct HeldPath
{
    explicit HeldPath(const std::wstring& text) : p(PathWin::FromText(text.c_str())) {}
    ~HeldPath()
    {
        if (p != nullptr)
            p->Release();
    }
    HeldPath(const HeldPath&) = delete;
    HeldPath& operator=(const HeldPath&) = delete;
    PathWin* operator->() const { return p; }
    PathWin* p;
};

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

// The journals of a folder by name, oldest first (names begin with the start time).
std::vector<std::wstring> JournalNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    if (folder.empty())
        return names;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((folder + L"\\*" + EXTENSION).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(d.cFileName);
    } while (FindNextFileW(h, &d));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

// The start time in a journal's name ("20261210T140000123Z-..."), as file-system ticks;
// 0 when the name does not begin with one.
int64_t StartOfName(const std::wstring& name)
{
    if (name.size() < 16 || name[8] != L'T')
        return 0;
    unsigned v[6] = {};
    const size_t at[6] = {0, 4, 6, 9, 11, 13};
    const size_t len[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i)
    {
        for (size_t k = 0; k < len[i]; ++k)
        {
            const wchar_t c = name[at[i] + k];
            if (c < L'0' || c > L'9')
                return 0;
            v[i] = v[i] * 10 + static_cast<unsigned>(c - L'0');
        }
    }
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(v[0]);
    st.wMonth = static_cast<WORD>(v[1]);
    st.wDay = static_cast<WORD>(v[2]);
    st.wHour = static_cast<WORD>(v[3]);
    st.wMinute = static_cast<WORD>(v[4]);
    st.wSecond = static_cast<WORD>(v[5]);
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft))
        return 0;
    return static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
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

bool JournalWriter::Create(const std::wstring& folder, const std::wstring& command, std::wstring& error)
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
    std::wstring head = L"Kairon journal 1\nstarted\t" + NowUtcText() + L"\ncommand\t" + OneLine(command);
    if (!WriteLine(head))
    {
        error = L"cannot write the journal " + path_;
        return false;
    }
    PruneJournals(folder);
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

bool JournalWriter::Add(const wchar_t* path, bool folder, const ItemTimes& before, const ItemTimes& after)
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

bool ReadJournal(const std::wstring& file, std::vector<JournalEntry>& entries, bool& undone, std::wstring& error,
                 std::wstring* command, uint64_t* linesEnd)
{
    entries.clear();
    if (command != nullptr)
        command->clear();
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
    if (linesEnd != nullptr)
    {
        const size_t lastEnd = text.rfind('\n');
        *linesEnd = lastEnd == std::string::npos ? 0 : lastEnd + 1;
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
        if (f[0] == L"command" && f.size() >= 2 && command != nullptr)
            *command = line.substr(8);
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

bool FindLastJournal(const std::wstring& folder, std::wstring& file, std::wstring* command,
                     std::vector<JournalEntry>* entries, uint64_t* linesEnd)
{
    const std::vector<std::wstring> names = JournalNames(folder);
    std::vector<JournalEntry> read;
    for (auto it = names.rbegin(); it != names.rend(); ++it)
    {
        bool undone = false;
        std::wstring error;
        const std::wstring candidate = folder + L"\\" + *it;
        if (ReadJournal(candidate, read, undone, error, command, linesEnd) && !undone)
        {
            file = candidate;
            if (entries != nullptr)
                *entries = std::move(read);
            return true;
        }
    }
    return false;
}

bool MarkUndone(const std::wstring& file, uint64_t linesEnd)
{
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    // After the last complete line: an interrupted run may have left unused room or a line
    // cut short behind it.
    if (linesEnd == JOURNAL_LINES_END_UNKNOWN)
    {
        std::string text;
        char buffer[65536];
        DWORD n = 0;
        while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0)
            text.append(buffer, n);
        const size_t lastEnd = text.rfind('\n');
        linesEnd = lastEnd == std::string::npos ? 0 : lastEnd + 1;
    }
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(linesEnd);
    const std::string line = Utf8(L"undone\t" + NowUtcText()) + "\n";
    DWORD written = 0;
    const bool ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h) &&
                    WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                    written == line.size();
    CloseHandle(h);
    return ok;
}

uint32_t PruneJournals(const std::wstring& folder, uint32_t keepNewest, uint32_t keepDays)
{
    const std::vector<std::wstring> names = JournalNames(folder);
    if (names.size() <= keepNewest)
        return 0;
    FILETIME nowFt;
    GetSystemTimeAsFileTime(&nowFt);
    const int64_t now = static_cast<int64_t>((static_cast<uint64_t>(nowFt.dwHighDateTime) << 32) | nowFt.dwLowDateTime);
    const int64_t oldest = now - static_cast<int64_t>(keepDays) * 24 * 3600 * 10'000'000LL;
    uint32_t deleted = 0;
    // Names sort oldest first: all but the last keepNewest may go when old enough. A name
    // without a start time is not ours to judge and stays.
    for (size_t i = 0; i + keepNewest < names.size(); ++i)
    {
        const int64_t started = StartOfName(names[i]);
        if (started != 0 && started < oldest && DeleteFileW((folder + L"\\" + names[i]).c_str()))
            ++deleted;
    }
    return deleted;
}

bool ReadItemTimes(PathWin& item, ItemTimes& out, uint32_t& systemError)
{
    // The times the listing or a Query just made have cached; read only when none are. A 0
    // from the getters is no time (a drive root has none of its own).
    if (!item.HasTimes())
    {
        systemError = GetLastError();
        if (systemError == 0)
            systemError = ERROR_FILE_NOT_FOUND;
        return false;
    }
    out.modified = static_cast<int64_t>(item.GetModifiedTicks());
    out.created = static_cast<int64_t>(item.GetCreationTicks());
    out.accessed = static_cast<int64_t>(item.GetAccessTicks());
    systemError = 0;
    return true;
}

// --- JournalListener -------------------------------------------------------------------------

void JournalListener::begin(const std::wstring& folder)
{
    writer_.Close();
    folder_ = folder;
    failed_ = false;
    error_.clear();
}

bool JournalListener::beforeWrite(const wchar_t* path, bool isFolder, const ItemTimes& before,
                                  const ItemTimes& planned)
{
    if (failed_)
        return false;
    // An item whose times stay as they are needs no line: there is nothing to undo.
    if (before.created == planned.created && before.modified == planned.modified &&
        before.accessed == planned.accessed)
        return true;
    if (!writer_.IsOpen() && !writer_.Create(folder_, commandOf_(), error_))
    {
        failed_ = true;
    }
    else if (!writer_.Add(path, isFolder, before, planned))
    {
        error_ = L"cannot write the journal " + writer_.Path();
        failed_ = true;
    }
    if (failed_)
    {
        // Without its line an item could not be undone: it is not written, and the run stops.
        frame_.cancelProcessing(false);
        return false;
    }
    return true;
}

// --- undo --------------------------------------------------------------------------------------

UndoOutcome UndoEntry(const JournalEntry& e, bool force, ItemTimes& now, uint32_t& systemError)
{
    systemError = 0;
    now = ItemTimes();
    HeldPath item(e.path);
    if (item.p == nullptr || !item->Query())
    {
        systemError = ERROR_FILE_NOT_FOUND;
        return UndoOutcome::Failed;
    }
    if (!ReadItemTimes(*item.p, now, systemError))
        return UndoOutcome::Failed;
    // Only the times the run changed are put back: the others may have moved on since.
    const bool changeCreated = e.before.created != e.after.created;
    const bool changeModified = e.before.modified != e.after.modified;
    const bool changeAccessed = e.before.accessed != e.after.accessed;
    if ((!changeCreated || now.created == e.before.created) && (!changeModified || now.modified == e.before.modified) &&
        (!changeAccessed || now.accessed == e.before.accessed))
        return UndoOutcome::AlreadyBefore;
    // A program that changes an item sets its modified time: one that is neither the time
    // before the run nor the time the run wrote tells that the item was changed since.
    if (!force && now.modified != e.after.modified && now.modified != e.before.modified)
        return UndoOutcome::ChangedSince;
    const auto c = static_cast<s::time::Ticks>(e.before.created);
    const auto m = static_cast<s::time::Ticks>(e.before.modified);
    const auto a = static_cast<s::time::Ticks>(e.before.accessed);
    // The library's time writer, as the engine uses it: read-only, hidden and system items
    // keep their attributes.
    if (!PathWin::WriteTimeTicks(item->AttributePath(), changeCreated ? &c : nullptr, changeAccessed ? &a : nullptr,
                                 changeModified ? &m : nullptr, &systemError))
    {
        if (systemError == 0)
            systemError = ERROR_WRITE_FAULT;
        return UndoOutcome::Failed;
    }
    return UndoOutcome::Restored;
}

} // namespace s::file::gui::dialogs::filetime
