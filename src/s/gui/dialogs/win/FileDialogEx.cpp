#include "s/gui/dialogs/win/FileDialogEx.h"

#include <commdlg.h>

#include <string>

#include "s/str/strarray/StrArray.h"

namespace s::gui::dialogs::win
{

FileDialogEx::FileDialogEx(HWND owner, const wchar_t* filter)
    : owner_(owner), filter_(filter ? filter : L"All Files (*.*)\0*.*\0"), buffer_(32768, L'\0')
{
}

bool FileDialogEx::run()
{
    for (;;)
    {
        std::fill(buffer_.begin(), buffer_.end(), L'\0');
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = owner_;
        ofn.lpstrFilter = filter_;
        ofn.lpstrFile = buffer_.data();
        ofn.nMaxFile = static_cast<DWORD>(buffer_.size());
        ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                    OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (GetOpenFileNameW(&ofn))
            return true;
        // A selection too long for the buffer: its first two bytes give the size needed.
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || buffer_.size() >= (1u << 22))
            return false;
        size_t needed = *reinterpret_cast<const WORD*>(buffer_.data());
        buffer_.assign(std::max(buffer_.size() * 2, needed + 2), L'\0');
    }
}

str::strarray::StrArray* FileDialogEx::takePaths()
{
    str::strarray::StrArray* paths = str::strarray::StrArray::Acquire();
    splitSelection(buffer_.data(), buffer_.size(), paths);
    return paths;
}

void FileDialogEx::splitSelection(const wchar_t* answer, size_t units, str::strarray::StrArray* out)
{
    std::vector<std::wstring> parts;
    size_t at = 0;
    while (at < units && answer[at])
    {
        size_t end = at;
        while (end < units && answer[end])
            ++end;
        parts.emplace_back(answer + at, end - at);
        at = end + 1;
    }
    if (parts.size() == 1)
    {
        out->Add(parts[0].c_str());
        return;
    }
    for (size_t i = 1; i < parts.size(); ++i)
    {
        std::wstring path = parts[0];
        if (!path.empty() && path.back() != L'\\')
            path += L'\\';
        path += parts[i];
        out->Add(path.c_str());
    }
}

} // namespace s::gui::dialogs::win
