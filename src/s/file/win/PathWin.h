#pragma once
// s::file::win::PathWin: the program's one representation of a file-system path.
//
// SetPath() normalises the text ("/" becomes "\", trailing "\" go) and splits it
// once into drive, folder part, title and extension. Everything else is derived
// from those pieces or asked from the file system and cached: the attribute word,
// the size and the three times (the "stat" record), the size on disk, the volume
// root and its file-system type. Caches live until the next SetPath() or Clear();
// the time getters take a refresh flag to read again.
//
// Ownership:
// - PathWin objects come from the class pool: Acquire(), or the shortcuts
//   FromText(), FromFolderAndName(), FromFolderAndShortcutName(). The caller gives
//   them back with Release().
// - Every operation that answers a new object (GetParent(), a list from a walker,
//   a StrBuffer from an "...Into" getter called without a target, an open stream)
//   hands it to the caller, who releases it. Arguments stay with their owner.
// - Text getters come in pairs. GetXxxInto(out, append) fills `out` (replacing
//   its text, or appending when `append` is set) and answers it; with a null
//   `out` it answers a new pooled StrBuffer. The plain GetXxx() answers a pointer
//   into this object's scratch string, valid until the next plain getter call.
//   GetFullPath(), GetExtensionText() and GetRootPath() answer pointers into their
//   own strings, valid until the path changes.
//
// Failures: nothing throws or shows a message. An empty text leaves the path
// invalid; predicates of an invalid path answer false; getters of an empty path
// answer empty texts; new-object getters answer null when there is nothing.
//
// System calls: every one gets GetApiPath(), the "\\?\" (or "\\?\UNC\") form of the
// full path, whatever its length. The plain form would let the system rewrite the
// name: it drops trailing dots and blanks ("name." would reach "name") and maps device
// names ("aux.log" would reach the AUX device). So each call reaches exactly the item
// that was walked or given, and items of 260 characters or more are found, read and
// written like any other. A relative text is made absolute for it once, when it is
// set, against the current folder; "." and ".." parts are resolved there. Texts shown
// to the user (GetFullPath(), the names) keep the plain form.
//
// Threads: a PathWin is used by one thread at a time; the process-wide state
// (Explorer settings, system root, stream buffer) has its own locks.
//
// This header includes <windows.h>: the members CreateFile and CreateDirectory
// therefore carry the platform's "W" names in every translation unit alike.

#include <windows.h>

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/file/IPath.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"
#include "s/time/EpochSeconds.h"

namespace s::str::strbuffer {
class StrBuffer;
}
namespace s::str::strarray {
class StrArray;
}
namespace s::col::_array {
class ArrayP;
class ArrayU08;
}

namespace s::file::win {

class PathArray;
class FileInputStream;
class FileOutputStream;

using s::str::strbuffer::StrBuffer;
using s::str::strarray::StrArray;
using s::col::_array::ArrayP;
using s::col::_array::ArrayU08;

/// Volume file-system kinds reported by IsNtfs()/IsFat() and FileSystemType().
enum FileSystemType : int32_t
{
    FS_OTHER = 0,
    FS_FAT = 1,
    FS_FAT32 = 2,
    FS_VFAT = 3,
    FS_NTFS = 4,
    FS_HPFS = 5,
};

class PathWin : public s::file::IPath, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_file_win_PathWin")
    // The class pool, made so that the pools this class's objects give their parts
    // back to are made first and therefore destroyed after it at process exit.
    friend struct ::s::thread::PoolHooks<PathWin>;

public:
    static ::s::thread::EasyPooler& Pool();
    /// An empty object from the pool; the caller gives it back with Release().
    static PathWin* Acquire() { return static_cast<PathWin*>(Pool().Acquire()); }
    void Release() override { Pool().Release(static_cast<PathWin*>(this)); }
    ::s::base::IObject* NewInstance() const override { return Acquire(); }

public:
    /// Seconds since 1970-01-01 00:00:00 UTC; negative = no value.
    using Seconds = s::time::EpochSeconds;

    /// Called with the exact file times handed to SetFileTime by WriteTimes() (null
    /// pointer = that time is left unchanged). For tests only: the file system may
    /// not keep every time (a creation time on some systems), so a test checks
    /// the value passed to the write. Null removes the observer. Not thread-safe:
    /// set it while no time is being written.
    using TimeWriteObserver = void (*)(const wchar_t* apiPath, const FILETIME* creation,
                                       const FILETIME* accessed, const FILETIME* modified);
    static void SetTimeWriteObserver(TimeWriteObserver observer);

    /// The system calls the time writer makes, in one place so that a test can refuse an
    /// open or watch attribute changes. Every member must be set; the defaults are the
    /// system's own functions.
    struct TimeWriterCalls
    {
        HANDLE(WINAPI* createFile)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                   HANDLE);
        DWORD(WINAPI* getFileAttributes)(LPCWSTR);
        BOOL(WINAPI* setFileAttributes)(LPCWSTR, DWORD);
    };
    /// For tests only: the calls the time writer makes from now on (null: the system's
    /// own). The object must outlive its use. Not thread-safe: set it while no time is
    /// being written.
    static void SetTimeWriterCalls(const TimeWriterCalls* calls);

    // --- making -------------------------------------------------------------
    /// Acquire() + SetPath(text).
    static PathWin* FromText(const wchar_t* text);
    /// folder + "\" + name.
    static PathWin* FromFolderAndName(const wchar_t* folder, const wchar_t* name);
    /// folder + "\" + name + ".lnk".
    static PathWin* FromFolderAndShortcutName(const wchar_t* folder, const wchar_t* name);

    // --- object -------------------------------------------------------------
    /// Comparison and hashing of the full-path texts (see StrBuffer). A comparator,
    /// when given, decides.
    int Compare(const s::base::IComparable* other,
                const s::base::IComparator* comparator = nullptr) const override;
    int CompareIgnoreCase(const s::base::IComparable* other,
                          const s::base::IComparator* comparator = nullptr) const override;
    bool Equals(const s::base::IComparable* other,
                const s::base::IComparator* comparator = nullptr) const override;
    bool EqualsIgnoreCase(const s::base::IComparable* other,
                          const s::base::IComparator* comparator = nullptr) const override;
    uint32_t HashCode() const override;
    uint32_t HashCodeIgnoreCase() const override;

    /// Clear().
    void Reset() override;

    // --- state and predicates -------------------------------------------------
    void Clear() override;
    bool IsValid() const override { return valid_; }
    bool IsAbsolute() const override;
    /// The item can be found (through the long form, so long paths count too).
    bool Exists() override;
    bool IsNtfs();
    bool IsFat();
    /// FileSystemType of the volume, determined once; FS_OTHER when unknown.
    int32_t GetFileSystemType();

    /// The cached attribute word; 0xFFFFFFFF when the item cannot be queried
    /// (then every attribute test answers true: test Exists() first). A failed
    /// query is not cached: the next call asks again.
    virtual uint32_t GetAttributes();
    /// True when `bits` are all set afterwards; false when the word is unknown.
    virtual bool AddAttributes(uint32_t bits);
    /// True on success; the cache follows a successful change only. The word
    /// 0xFFFFFFFF (a failed query's answer) is refused.
    virtual bool SetAttributes(uint32_t word);

    /// Readable: the item exists. Writable: it exists and is a folder or not
    /// read-only. Both through the long form.
    bool IsReadable();
    bool IsWritable();
    bool IsReadWritable();
    bool IsDirectory() override;
    bool IsEmptyDirectory();
    bool IsFile() override;
    bool IsStream() const { return isStream_; }
    bool IsHidden();
    bool IsSystem();
    bool IsArchive();
    bool IsExe();
    bool IsShortcut();
    bool IsUrlFile();
    /// A folder holding a "target.lnk" that resolves to an existing folder.
    bool IsFolderShortcut();
    /// "\\server..." (not "\\\").
    bool IsUnc() const;
    /// The server of a UNC path (scratch); empty otherwise.
    const wchar_t* GetServerName();
    bool IsDriveOnly() const;
    bool HasDrive() const;
    /// First character of the full path as stored; 0 when empty.
    wchar_t GetDriveLetter() const;
    /// Same drive letter (exactly as stored) or same UNC server (ignoring case).
    bool IsSameVolume(const wchar_t* text) const;
    /// `text` relative to this path ("..\" steps) when on the same volume, else
    /// `text` unchanged. With treatAsFolder this path is the base folder, else its
    /// containing folder is. Answers the scratch string.
    const wchar_t* MakeRelative(const wchar_t* text, bool treatAsFolder);
    /// A relative `text` resolved against this path (as folder when treatAsFolder,
    /// else against its containing folder); a text with a drive or UNC start is
    /// answered unchanged. Answers the scratch string.
    const wchar_t* MakeAbsolute(const wchar_t* text, bool treatAsFolder);

    const wchar_t* GetFullPath() const override;
    const wchar_t* GetApiPath() const override;
    uint32_t GetLength() const override;
    /// "C:\", "\\srv\share\"; cached.
    const wchar_t* GetRootPath();
    /// The extension with its dot, e.g. ".txt"; empty when none.
    const wchar_t* GetExtensionText() const;

    // --- sizes and times --------------------------------------------------------
    /// Bytes. A stream: its size. A file, or a folder without includeContents: the
    /// item's own size (0 for folders and missing items). A folder with
    /// includeContents: the sum of its own files (when includeFiles) and, when
    /// recurse, of everything inside its sub-folders (always with their files);
    /// reparse points are not entered; nothing is hidden. The counters (may be
    /// null) are incremented per file counted and per sub-folder entered.
    int64_t GetSize(bool includeContents = false, bool recurse = false,
                    int32_t* fileCounter = nullptr, int32_t* folderCounter = nullptr,
                    bool includeFiles = true);
    /// GetSize() rounded up to whole clusters; 0 for an empty or missing item.
    int64_t GetSizeOnDisk();
    int64_t SetStreamSize(int64_t size);

    /// The item's own times in seconds since 1970 UTC, exact to the second
    /// (truncated). A zero creation or access time reads as the last-write time.
    /// 0 for a drive root and an item that cannot be queried: such a 0 is no time, so
    /// ask HasTimes() before a time is shown or computed with. A name with a colon in
    /// its last part (IsStream) is read through the path itself, as it is written: on
    /// Windows a named stream, which has the times of its file; where the system allows
    /// colons in names (Wine), the file of that name. Cached; `refresh` reads again.
    Seconds GetCreationTime(bool refresh = false);
    Seconds GetAccessTime(bool refresh = false);
    Seconds GetModifiedTime(bool refresh = false);
    /// The three times could be read (they are cached, or are read now). False for a drive
    /// root ("X:" has no times of its own) and an item that cannot be queried; the getters
    /// then answer 0, which must not be taken for a time.
    bool HasTimes(bool refresh = false);
    /// The same three times in file-system ticks (100 ns since 1601), not rounded, from
    /// the same cache; a zero creation or access time reads as the last-write time. 0 where
    /// the seconds are 0 for want of a record.
    s::time::Ticks GetCreationTicks(bool refresh = false);
    s::time::Ticks GetAccessTicks(bool refresh = false);
    s::time::Ticks GetModifiedTicks(bool refresh = false);
    /// Writes the times that are not negative. Does nothing (false) unless the
    /// item exists and the flag of its kind is set: system before hidden before
    /// read-only, else normal. With recursive, a folder's entries (all of them,
    /// hidden ones too; links never) are written first, each filtered the same
    /// way, so that a refused child keeps everything beneath it, and the folder
    /// keeps the access time its listing stamped when none is given. The writing is
    /// WriteTimeTicks'; true when the times were written and the attributes are as
    /// they were (the entries' own results are not part of the answer). A drive is
    /// written at its root "X:\". Does not refresh the cached times.
    bool SetTimes(Seconds creation, Seconds modified, Seconds accessed, bool normal,
                  bool readOnly, bool hidden, bool system, bool recursive);
    /// The time writer: opens apiPath (folders too) and writes the times that are not
    /// negative. It opens for FILE_WRITE_ATTRIBUTES only, sharing read, write and delete,
    /// so read-only, hidden and system items need no attribute change and an item another
    /// program holds open (even without sharing) still gets its times. Only when that open
    /// is refused does it clear the attributes to normal, open for reading and writing,
    /// write, and put the attributes back exactly. A link (junction, symbolic link) is
    /// stamped itself, not its target, as its own times are the ones read. False when
    /// the item cannot be opened or written or its attributes could not be put back, and
    /// (writing nothing) when a time lies beyond the year 30827.
    static bool WriteTimes(const wchar_t* apiPath, Seconds creation, Seconds modified,
                           Seconds accessed);
    /// The same in file-system ticks, to the tick: a null pointer leaves that time as it
    /// is. False (writing nothing) when a tick count is beyond the system's range. On
    /// failure systemError (may be null) gets the system's error code of the step that
    /// failed (ERROR_INVALID_PARAMETER for a time out of range); 0 on success.
    static bool WriteTimeTicks(const wchar_t* apiPath, const s::time::Ticks* creation,
                               const s::time::Ticks* accessed, const s::time::Ticks* modified,
                               uint32_t* systemError = nullptr);

    // --- attribute helpers --------------------------------------------------------
    /// Sets the read-only bit again as the item has it now (IsWritable()).
    bool ReapplyReadOnly();
    /// Clears (true) or sets (false) the read-only bit. A change drops the cached
    /// word, which is read afresh when next asked.
    bool SetWritable(bool writable);
    /// SetWritable(true).
    bool MakeWritable();
    /// AddAttributes(hidden).
    bool SetHidden();

    // --- file operations (refused for paths of three characters or fewer) ------
    bool Rename(const wchar_t* newPath);
    /// Renames to random names `passes` times; the final full path goes to nameOut
    /// (may be null). With restore the attributes are put back afterwards.
    bool RenameRandomly(int32_t passes, StrBuffer* nameOut, bool restore);
    bool CreateDirectory(bool notify = false);
    bool CreateFile(bool notify = false);
    /// The containing folder exists afterwards (made with its parents if needed).
    bool EnsureParent();
    /// True when the item is gone (or was not there). A read-only file is made
    /// writable and tried again; a folder that will not go empty is emptied first.
    /// With force, what still stays is scheduled for removal at the next start.
    bool Delete(bool notify = false, bool force = false);
    /// Schedules the item (a folder with everything in it) for removal at the next start.
    bool DeleteOnReboot();
    /// To the recycle bin; `confirm` lets the shell ask, otherwise it works silently.
    bool Recycle(bool confirm, bool notify);
    /// A file, or a folder entry by entry; missing target folders are made.
    bool CopyTo(const wchar_t* target, bool overwrite);
    /// Across volumes too. `notify` tells the shell of the removal and creation.
    bool MoveTo(const wchar_t* target, bool replace, bool notify);
    /// Makes a shortcut to this path at `at` (".lnk" appended when missing); an
    /// existing one is replaced only with `replace`.
    bool CreateShortcut(const wchar_t* at, bool replace, const wchar_t* description = nullptr);
    /// A shortcut named after this item inside `folder`.
    bool CreateShortcutHere(const wchar_t* folder, bool replace);

    // --- texts ----------------------------------------------------------------------
    StrBuffer* GetFullPathInto(StrBuffer* out = nullptr, bool append = false) const;
    StrBuffer* GetFullPathWithSlashInto(StrBuffer* out = nullptr, bool append = false) const;
    const wchar_t* GetFullPathWithSlash();
    StrBuffer* GetFolderInto(StrBuffer* out = nullptr, bool append = false) const;
    const wchar_t* GetFolder();
    StrBuffer* GetFolderNoSlashInto(StrBuffer* out = nullptr, bool append = false) const;
    const wchar_t* GetFolderNoSlash();
    StrBuffer* GetNameInto(StrBuffer* out = nullptr, bool append = false) const;
    const wchar_t* GetName();
    StrBuffer* GetTitleInto(StrBuffer* out = nullptr, bool append = false) const;
    const wchar_t* GetTitle();
    StrBuffer* GetExtensionInto(StrBuffer* out = nullptr, bool append = false) const;
    const wchar_t* GetExtension();
    /// Without the dot; empty when the extension is empty or only the dot.
    StrBuffer* GetExtensionNoDotInto(StrBuffer* out = nullptr, bool append = false) const;
    const wchar_t* GetExtensionNoDot();
    /// The shell's type name ("Text Document").
    StrBuffer* GetTypeNameInto(StrBuffer* out = nullptr, bool append = false);
    const wchar_t* GetTypeName();
    /// "1.5 KB"; empty for a folder.
    StrBuffer* GetSizeTextInto(StrBuffer* out = nullptr, bool append = false);
    const wchar_t* GetSizeText();
    /// The address inside an existing ".url" file; empty otherwise.
    StrBuffer* GetUrlInto(StrBuffer* out = nullptr, bool append = false);
    const wchar_t* GetUrl();
    StrBuffer* GetFolderShortcutTargetInto(StrBuffer* out = nullptr, bool append = false);
    const wchar_t* GetFolderShortcutTarget();

    // --- derived paths (new objects, owned by the caller; null when none) -----------
    PathWin* GetParent() const;
    PathWin* GetChild(const wchar_t* name) const;
    /// folder + title + suffix.
    PathWin* GetSibling(const wchar_t* suffix) const;
    /// An existing folder: folder + name + suffix; else folder + title + suffix + extension.
    PathWin* WithSuffix(const wchar_t* suffix);
    /// This path (a copy) when free, else "name (n)" / "title (n).ext" for the first free n.
    PathWin* GetUniqueName();
    /// The same with the number right behind the name: "name2", "title2.ext".
    PathWin* GetUniqueNameNumbered();
    PathWin* GetFolderPath() const;
    /// The target of a ".lnk" file.
    PathWin* ResolveShortcut();
    PathWin* GetFolderShortcutTargetPath();
    /// The next (or previous) file of the same folder that ends with one of the
    /// extensions (all when null or empty), optionally in sorted order, wrapping
    /// round when asked; null when fewer than two candidates exist.
    PathWin* GetNeighbour(bool next, const StrArray* extensions, bool sort, bool wrap);

    // --- walking (depth first; reparse points are never listed nor entered) ----------
    // includeAll false applies Explorer's visibility settings, read fresh at every walk.
    bool HasEntries(bool includeAll);
    StrArray* ListNames(bool fullPaths, bool includeAll);
    StrArray* ListFolderNames(bool fullPaths, bool includeAll);
    StrArray* ListFileNames(bool fullPaths, bool includeAll);
    /// Lists of PathWin whose element destructor is the PathWin pool; a new list when
    /// `list` is null. Entries carry the attributes and times of the search.
    ArrayP* ListEntries(bool includeAll, bool recursive = false, ArrayP* list = nullptr);
    ArrayP* ListFolders(bool includeAll, bool recursive = false, ArrayP* list = nullptr);
    ArrayP* ListFiles(bool includeAll, bool recursive = false, ArrayP* list = nullptr);
    PathArray* ListEntriesInto(bool includeAll, bool recursive = false, PathArray* list = nullptr);
    PathArray* ListFoldersInto(bool includeAll, bool recursive = false, PathArray* list = nullptr);
    PathArray* ListFilesInto(bool includeAll, bool recursive = false, PathArray* list = nullptr);
    /// The named streams of a file or folder on NTFS ("C:\a.txt:notes"), sizes set.
    ArrayP* ListStreams(ArrayP* list = nullptr);
    /// This path's name part as a pattern ("*.txt"); recursive repeats it in every
    /// sub-folder of the pattern's folder.
    ArrayP* FindFiles(bool includeAll, bool recursive = false, ArrayP* list = nullptr);
    ArrayP* FindEntries(bool includeAll, bool recursive = false, ArrayP* list = nullptr);

    // --- streams ----------------------------------------------------------------------
    /// Never null; a stream whose file did not open reads nothing. Caller releases.
    FileInputStream* OpenInputStream();
    /// Creates the containing folders first. Never null; a stream whose file did not
    /// open writes nothing. Caller closes and releases (CloseAndRelease()).
    FileOutputStream* OpenOutputStream(bool append = false);
    /// The whole file into `bytes` (emptied first), read to its end; false (and
    /// `bytes` empty) when the file cannot be opened.
    bool ReadAll(ArrayU08* bytes);
    bool WriteAll(const ArrayU08* bytes, bool append = false);
    /// The text's UTF-8 bytes, no terminator.
    bool WriteFrom(const StrBuffer* text, bool append = false);

    /// Whether the item (and everything in it, and its streams) can be opened
    /// without sharing. False for a drive root or a missing item; true at once for
    /// an empty file. Attributes are cleared for the check and put back when
    /// `restore` is set. passOn, buffer and size are only handed down the
    /// recursion (no data is read, so no work buffer is made).
    bool CheckExclusiveAccess(bool passOn, bool restore, void* buffer = nullptr,
                              uint32_t size = 0);
    bool HasExtension(const wchar_t* text) const;

    bool SetPath(const StrBuffer* text);
    bool SetPath(const wchar_t* text) override;
    /// For walkers: the same as SetPath(entryPath), where entryPath is folder's full path,
    /// "\" and name (a name as a listing gives it), without splitting the text again.
    bool SetEntryPath(const PathWin& folder, const StrBuffer* entryPath, const wchar_t* name,
                      uint32_t nameLength);

    /// Parsed pieces (for readers that want the raw components).
    const StrBuffer* Drive() const { return drive_; }
    const StrBuffer* FolderPart() const { return folderPart_; }
    const StrBuffer* Title() const { return title_; }
    const StrBuffer* ExtensionPart() const { return extension_; }
    const StrBuffer* FullPathString() const { return fullPath_; }

    /// Fills the attribute and time caches from a search record (walkers use it so
    /// that an entry is asked from the system once).
    void TakeFindData(const WIN32_FIND_DATAW& data);
    /// Reads the attribute word, the size and the three times afresh in one system call
    /// (GetFileAttributesExW; a stream name through an open of the path), replacing the
    /// caches. False when the item cannot be queried (the caches are then empty); then
    /// systemError (may be null) gets the system's error code (ERROR_FILE_NOT_FOUND,
    /// ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ...), else 0. A drive root gets its
    /// attribute word only (HasTimes() stays false).
    bool Query(uint32_t* systemError = nullptr);
    /// The attribute word and the times are cached (from a listing, Query or an earlier
    /// question): asking them costs no system call.
    bool HasCachedFacts() const { return attributesValid_ && (statValid_ || IsDriveOnly()); }

    /// The text that attribute and time calls must be given for this item: the long form,
    /// or "X:\" for a drive ("X:" alone names the drive's current folder). Points into the
    /// path's own storage, valid until the path changes.
    const wchar_t* AttributePath();

protected:
    PathWin();
    ~PathWin() override;

private:
    struct StatRecord
    {
        int64_t size = 0;
        Seconds accessed = 0;
        Seconds modified = 0;
        Seconds created = 0;
        s::time::Ticks accessedTicks = 0;
        s::time::Ticks modifiedTicks = 0;
        s::time::Ticks createdTicks = 0;
    };

    bool SetPath(const wchar_t* chars, uint32_t count);
    bool Normalise();
    void Parse();
    void BuildLongForm();
    const wchar_t* ServerStart() const;
    uint32_t ServerLength() const;
    bool FillStat();
    void StoreStat(uint32_t sizeHigh, uint32_t sizeLow, const FILETIME& created,
                   const FILETIME& accessed, const FILETIME& modified);
    // What a read of the item's record gave: the attributes (unless already known) and the
    // stat record.
    void StoreRead(DWORD attributes, uint32_t sizeHigh, uint32_t sizeLow, const FILETIME& created,
                   const FILETIME& accessed, const FILETIME& modified);
    StrBuffer* Target(StrBuffer* out, bool append) const;
    PathWin* NewWithSuffix(bool numbered);

    StrBuffer* scratch_;
    StrBuffer* source_;
    StrBuffer* drive_;
    StrBuffer* root_;
    StrBuffer* folderPart_;
    StrBuffer* longForm_;
    StatRecord stat_;
    int64_t sizeOnDisk_ = -1;
    bool statValid_ = false;
    bool valid_ = false;
    bool isStream_ = false;
    int64_t streamSize_ = -1;
    bool attributesValid_ = false;
    uint32_t attributes_ = 0;
    int32_t fileSystemType_ = -1;
    StrBuffer* extension_;
    StrBuffer* fullPath_;
    StrBuffer* title_;
};

} // namespace s::file::win
