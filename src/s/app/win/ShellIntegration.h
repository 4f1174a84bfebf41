#pragma once
// The program's two entries in Explorer, per user and without administrator rights:
//
// - "Send To": a shortcut "<name>.lnk" to the program file in the user's SendTo folder;
// - the context menu of files and folders: the verb keys
//       <classes>\*\shell\<name>          and   <classes>\Directory\shell\<name>
//   each with the verb's text as unnamed value, "Icon" = "<program>",0, "MultiSelectModel"
//   = "Player" (Explorer then starts the program once per selected item, however many are
//   selected) and the sub-key "command" = "<program>" "%1".
//   <classes> is HKEY_CURRENT_USER\Software\Classes.
//
// Removing an entry leaves nothing behind: the shortcut file, the verb keys, and the
// "shell", "*" and "Directory" keys above them when they are left empty.
//
// An entry counts as present only when it points at the given program file (compared
// without regard to case); an entry of another copy is not ours to report as present.
// repairMoved points entries whose program file no longer exists at the given one.
//
// Seams: setClassesKey and setSendToFolder move both places (tests use a key and a folder
// of their own; the program reads them from its environment, see src/kairon/main.cpp).
//
// Thread affinity: any thread; the shortcut functions initialise COM for the call when the
// thread has not. Failures answer false; nothing is half-written on purpose (an add that
// fails part-way removes what it wrote).

#include <string>

namespace s::app::win {

class ShellIntegration
{
public:
    /// The key below HKEY_CURRENT_USER that stands for Software\Classes (null or empty:
    /// the real one).
    static void setClassesKey(const wchar_t* key);
    static std::wstring getClassesKey();
    /// The folder of the Send To menu (null or empty: the user's own).
    static void setSendToFolder(const wchar_t* folder);
    static std::wstring getSendToFolder();

    /// The program file the shortcut "<name>.lnk" points at ("" without one).
    static std::wstring sendToTarget(const wchar_t* name);
    static bool hasSendTo(const wchar_t* name, const wchar_t* programPath);
    /// Writes the shortcut (replacing one of the same name); `description` is its tip.
    static bool addSendTo(const wchar_t* name, const wchar_t* programPath, const wchar_t* description);
    static bool removeSendTo(const wchar_t* name);

    /// The program file the files' verb "<name>" runs ("" without one).
    static std::wstring contextMenuTarget(const wchar_t* name);
    /// Both verbs (files and folders) run `programPath`.
    static bool hasContextMenu(const wchar_t* name, const wchar_t* programPath);
    static bool addContextMenu(const wchar_t* name, const wchar_t* programPath, const wchar_t* verbText);
    static bool removeContextMenu(const wchar_t* name);

    /// What repairMoved found, as bits.
    enum Repair
    {
        REPAIRED_SEND_TO = 1,
        REPAIRED_CONTEXT_MENU = 2,
        FAILED_SEND_TO = 4,
        FAILED_CONTEXT_MENU = 8,
    };
    /// Entries whose program file is gone (moved or renamed) are written anew for
    /// `programPath`; entries of a program file that exists are left alone. Answers the
    /// Repair bits.
    static int repairMoved(const wchar_t* name, const wchar_t* programPath, const wchar_t* verbText,
                           const wchar_t* description);

    /// The command line a verb runs: "<program>" "%1".
    static std::wstring commandFor(const wchar_t* programPath);
    /// The program file at the start of a command line (quoted or up to the first space).
    static std::wstring programOf(const wchar_t* commandLine);
};

} // namespace s::app::win
