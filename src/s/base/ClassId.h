#pragma once
// Gives a class its identifier constant and its ClassId() in one line:
//
//     class PathWin : public IPath, public s::thread::IPoolable {
//         S_CLASS_ID(L"s_file_win_PathWin")
//         ...
//     };
//
// declares `static constexpr wchar_t CLASS_ID[]` (one object for the whole
// program) and `const wchar_t* ClassId() const override` answering its address,
// so `obj->ClassId() == PathWin::CLASS_ID` recognises the class. The macro
// leaves the access level at public.

#define S_CLASS_ID(text)                                                                \
public:                                                                                 \
    static constexpr wchar_t CLASS_ID[] = text;                                         \
    const wchar_t* ClassId() const override { return CLASS_ID; }
