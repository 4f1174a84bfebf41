#include "s/process/commandline/win/CommandLine.h"

#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

namespace s::process::commandline::win {

namespace {
// The list goes back to its pool when the command-line pool is destroyed at exit.
const bool g_memberPoolsMadeFirst = (StrBuffer::Pool(), StrArray::Pool(), true);
} // namespace

CommandLine::CommandLine() : receiver_(*this), arguments_(StrArray::Acquire())
{
    (void)g_memberPoolsMadeFirst;
}

CommandLine::~CommandLine()
{
    if (arguments_)
        arguments_->Release();
}

void CommandLine::Reset()
{
    if (arguments_)
        arguments_->RemoveAll();
}

void CommandLine::parse(CWinApp* app)
{
    Reset();
    if (!app)
        app = AfxGetApp();
    if (app)
    {
        app->ParseCommandLine(receiver_);
        return;
    }
    // No application object (a tool or a test): the framework's parser on its own.
    CWinApp parser;
    parser.ParseCommandLine(receiver_);
}

void CommandLine::addParam(const wchar_t* param, bool isFlag)
{
    if (!arguments_)
        return;
    StrBuffer* argument = StrBuffer::Acquire();
    if (!argument)
        return;
    if (isFlag)
        argument->AppendChar(L'-');
    argument->Append(param ? param : L"");
    arguments_->AddOwned(argument);
}

uint32_t CommandLine::getArgumentCount() const
{
    return arguments_ ? arguments_->Count() : 0;
}

const wchar_t* CommandLine::getArgument(uint32_t index) const
{
    if (!arguments_ || index >= arguments_->Count())
        return nullptr;
    return arguments_->Get(index)->CStr();
}

void CommandLine::Receiver::ParseParam(const wchar_t* param, BOOL isFlag, BOOL)
{
    owner_.addParam(param, isFlag != FALSE);
}

} // namespace s::process::commandline::win
