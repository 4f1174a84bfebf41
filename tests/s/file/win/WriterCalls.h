#pragma once
// The time writer's system calls, watched and steered by a test (PathWin's writer seam):
// which opens it makes, which attribute changes, and opens refused on purpose.
//
//     WriterCalls calls;                    // installed until the end of the scope
//     calls.refuseMinimal = L"ro.txt";      // the minimal open of matching paths fails
//     calls.refuseAll = L"locked";          // every open of matching paths fails
//
// One at a time per process; the writer may run on another thread (the engine's worker),
// so the records are guarded.

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "s/file/win/PathWin.h"

namespace s::file::win::test {

class WriterCalls
{
public:
    struct AttributeChange
    {
        std::wstring path;
        DWORD word;
    };

    WriterCalls()
    {
        current_ = this;
        PathWin::SetTimeWriterCalls(&kCalls);
    }
    ~WriterCalls()
    {
        PathWin::SetTimeWriterCalls(nullptr);
        current_ = nullptr;
    }
    WriterCalls(const WriterCalls&) = delete;
    WriterCalls& operator=(const WriterCalls&) = delete;

    // Paths containing this text (when not empty) are refused.
    std::wstring refuseMinimal;
    std::wstring refuseAll;

    std::vector<AttributeChange> Changes()
    {
        std::lock_guard<std::mutex> g(lock_);
        return changes_;
    }
    std::vector<AttributeChange> ChangesOf(const std::wstring& pathEnd)
    {
        std::vector<AttributeChange> of;
        for (const AttributeChange& c : Changes())
            if (c.path.size() >= pathEnd.size() &&
                c.path.compare(c.path.size() - pathEnd.size(), pathEnd.size(), pathEnd) == 0)
                of.push_back(c);
        return of;
    }
    int MinimalOpens()
    {
        std::lock_guard<std::mutex> g(lock_);
        return minimalOpens_;
    }
    int FullOpens()
    {
        std::lock_guard<std::mutex> g(lock_);
        return fullOpens_;
    }

private:
    static bool Matches(const std::wstring& part, const wchar_t* path)
    {
        return !part.empty() && std::wstring(path).find(part) != std::wstring::npos;
    }

    static HANDLE WINAPI Open(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                              DWORD disposition, DWORD flags, HANDLE tmpl)
    {
        WriterCalls* c = current_;
        const bool minimal = access == FILE_WRITE_ATTRIBUTES;
        {
            std::lock_guard<std::mutex> g(c->lock_);
            ++(minimal ? c->minimalOpens_ : c->fullOpens_);
        }
        if (Matches(c->refuseAll, path) || (minimal && Matches(c->refuseMinimal, path))) {
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        return CreateFileW(path, access, share, sa, disposition, flags, tmpl);
    }

    static DWORD WINAPI Get(LPCWSTR path) { return GetFileAttributesW(path); }

    static BOOL WINAPI Set(LPCWSTR path, DWORD word)
    {
        WriterCalls* c = current_;
        {
            std::lock_guard<std::mutex> g(c->lock_);
            c->changes_.push_back({path, word});
        }
        return SetFileAttributesW(path, word);
    }

    static inline WriterCalls* current_ = nullptr;
    static inline const PathWin::TimeWriterCalls kCalls = {&Open, &Get, &Set};

    std::mutex lock_;
    std::vector<AttributeChange> changes_;
    int minimalOpens_ = 0;
    int fullOpens_ = 0;
};

} // namespace s::file::win::test
