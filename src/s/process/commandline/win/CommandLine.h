#pragma once
// The command line as the application framework's parser (CCommandLineInfo) hands it
// over: parse() lets CWinApp::ParseCommandLine feed every argument after the program's
// name to this object, which keeps flags as "-name" and other arguments unchanged.
//
// Class identifier "s_process_commandline_win_CommandLine"; pooled. Reset() empties the
// list. Thread affinity: see ICommandLine.

#include "mfc/afxwin.h"

#include "s/base/ClassId.h"
#include "s/process/commandline/ICommandLine.h"
#include "s/thread/Pooled.h"

namespace s::str::strarray {
class StrArray;
}

namespace s::process::commandline::win {

class CommandLine : public ICommandLine
{
    S_CLASS_ID(L"s_process_commandline_win_CommandLine")
    S_POOLED(CommandLine)

public:
    void Reset() override;

    /// Replaces the list with the arguments of the process's command line, parsed by
    /// `app` (null: the application object, or the framework's parser on its own when
    /// the program has none).
    void parse(CWinApp* app);
    /// Appends one argument as the framework's parser reports it: `param` without its
    /// leading "-" or "/" when `isFlag`.
    void addParam(const wchar_t* param, bool isFlag);

    uint32_t getArgumentCount() const override;
    const wchar_t* getArgument(uint32_t index) const override;

protected:
    CommandLine();
    ~CommandLine() override;

private:
    // The framework's receiver of the parsed arguments; passes each on to its owner.
    class Receiver : public CCommandLineInfo
    {
    public:
        explicit Receiver(CommandLine& owner) : owner_(owner) {}
        void ParseParam(const wchar_t* param, BOOL isFlag, BOOL isLast) override;

    private:
        CommandLine& owner_;
    };

    Receiver receiver_;
    s::str::strarray::StrArray* arguments_;
};

} // namespace s::process::commandline::win
