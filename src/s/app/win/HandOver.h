#pragma once
// Handing paths from a second start of the program to the instance that already runs.
//
// The payload travels in one WM_COPYDATA message (dwData = HAND_OVER_KEY):
//
//     uint32 magic   'KPHO' (0x4F48504B)
//     uint32 version HAND_OVER_VERSION
//     uint32 count   number of paths, 1 to MAX_PATHS_PER_MESSAGE
//     uint32 units   number of UTF-16 units that follow
//     units × UTF-16 the paths, each 1 to MAX_PATH_UNITS units and NUL-terminated,
//                    exactly `count` of them filling the units exactly
//
// The receiver treats it as an untrusted drop: anything that does not match to the byte
// (another key, another version, a size that disagrees, a missing or an extra NUL, an
// empty or overlong path, more than the caps allow) is refused whole and changes nothing.
// A path is only ever a name whose times are read or written; nothing is opened or run.
//
// InstanceGate decides which of several processes of the same program file started at
// the same time is the first: a named mutex of the session, named after the program
// file's path (without regard to case), owned by the first for its whole life. The first
// publishes its main window in a small named mapping; the others wait for it, hand over
// their paths and end. When the first ends before it published (or dies), the next waiting
// process becomes the first.
//
// Explorer starts one process per selected item, and under load those reach the first
// instance's window seconds apart, well after any fixed gathering time. So the first can ask
// how many starts are still on their way: the other running processes of the same program
// file in this session, counted from the moment they exist (before they could say anything
// themselves), less those that marked themselves done in a roster of process ids (a second
// named mapping; each slot taken and given back atomically, freed by the reader once its
// process has ended). A start marks itself done once its paths were taken or it has none.
//
// Thread affinity: an InstanceGate belongs to the thread that made it (the mutex is owned
// by that thread), except countHandOversOnTheWay, which any thread may call while the gate
// lives; the codec functions have no state. Failures answer false or null.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace s::str::strarray {
class StrArray;
}

namespace s::app::win {

/// dwData of the hand-over's COPYDATASTRUCT.
constexpr ULONG_PTR HAND_OVER_KEY = 0x4B61690E;
constexpr uint32_t HAND_OVER_MAGIC = 0x4F48504B;
constexpr uint32_t HAND_OVER_VERSION = 1;
/// At most this many paths ride in one message; more are sent in several messages.
constexpr uint32_t MAX_PATHS_PER_MESSAGE = 4096;
/// The longest path a message may carry (the system's limit for extended paths).
constexpr uint32_t MAX_PATH_UNITS = 32767;
/// The largest payload a message may have (header included).
constexpr uint32_t MAX_HAND_OVER_BYTES = 1u << 20;

/// Encodes paths[first ...] into `payload`, as many as fit into one message; answers the
/// index after the last path taken (== first when the path at first is empty, overlong or
/// there is none).
uint32_t EncodeHandOver(const s::str::strarray::StrArray* paths, uint32_t first, std::vector<uint8_t>* payload);

/// Checks a received payload and, only when it is well-formed, appends its paths to `out`
/// and answers true. `key` is the message's dwData.
bool DecodeHandOver(ULONG_PTR key, const void* data, size_t bytes, s::str::strarray::StrArray* out);

/// Sends `paths` to `window` in as few messages as the caps allow (WM_COPYDATA, each
/// waiting at most `timeoutMs` for the answer). True when every message was taken (the
/// receiver answered non-zero).
bool SendHandOver(HWND window, const s::str::strarray::StrArray* paths, DWORD timeoutMs);

class InstanceGate
{
public:
    /// Opens (or makes) the session's gate of the program file `programPath`; this process
    /// is the first when it made the mutex or took it over from a first that ended.
    explicit InstanceGate(const wchar_t* programPath);
    ~InstanceGate();
    InstanceGate(const InstanceGate&) = delete;
    InstanceGate& operator=(const InstanceGate&) = delete;

    bool isFirst() const { return first_; }

    /// The first instance tells where its main window is (0 withdraws it).
    void publishWindow(HWND window);

    /// Not the first: waits at most `milliseconds` for the first instance's published
    /// window, while it is shown, and answers it (a hidden one is closing). Answers null when the time ran out, or when the first ended
    /// meanwhile, in which case this process is now the first (isFirst()).
    HWND waitForFirstWindow(DWORD milliseconds);

    /// Not the first: enters this process in the roster of starts that have nothing more
    /// to hand over (once; nothing when the roster is full or missing).
    void markHandedOver();

    /// The number of other running processes of this program file in this session that
    /// have not marked themselves done. Any thread.
    uint32_t countHandOversOnTheWay() const;

    /// Slots of the roster: past this many starts at once, a done start is still counted
    /// until it has ended.
    static constexpr uint32_t ROSTER_SLOTS = 1024;

private:
    bool tryBecomeFirst();
    HWND readPublished() const;

    HANDLE mutex_ = nullptr;
    HANDLE mapping_ = nullptr;
    HANDLE ready_ = nullptr;
    HANDLE rosterMapping_ = nullptr;
    volatile LONG* roster_ = nullptr; // ROSTER_SLOTS process ids (0: free), mapped for the gate's life
    bool markedDone_ = false;
    wchar_t image_[MAX_PATH] = L""; // this process's program file, as the system names it
    bool first_ = false;
};

} // namespace s::app::win
