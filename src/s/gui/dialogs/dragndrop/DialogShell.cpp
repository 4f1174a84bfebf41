// The drop dialog's Explorer entries: "Add to the Send To menu" and "Add to the context menu
// of files and folders" in the View menu, each checked while its entry points at this
// program file, each switching its entry on or off (see s/app/win/ShellIntegration.h).
#include "s/gui/dialogs/dragndrop/Dialog.h"

#include "s/app/win/ShellIntegration.h"
#include "s/gui/IPopupMenu.h"
#include "s/lang/LangPack.h"
#include "s/lang/Localizer.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::gui::dialogs::dragndrop
{

using s::app::win::ShellIntegration;

namespace
{
constexpr int32_t TEXT_ADD_SEND_TO = 7600001;
constexpr int32_t TEXT_ADD_CONTEXT_MENU = 7600002;
// "The Explorer entry could not be changed."
constexpr int32_t TEXT_ENTRY_FAILED = 7600005;
} // namespace

int32_t Dialog::textOfShellCommand(int32_t command)
{
    return command == CMD_SEND_TO ? TEXT_ADD_SEND_TO : TEXT_ADD_CONTEXT_MENU;
}

void Dialog::setProgramPath(const wchar_t* path)
{
    programPath_->Assign(path != nullptr ? path : L"");
}

bool Dialog::hasShellEntries() const
{
    return !programPath_->IsEmpty();
}

const wchar_t* Dialog::getShellEntryName()
{
    const wchar_t* name = nullptr;
    if (localizer_ != nullptr && localizer_->getLanguageCount() > 0)
    {
        name = localizer_->getLanguage(0)->findText(textBase_);
    }
    return name != nullptr && name[0] != L'\0' ? name : L"Kairon";
}

bool Dialog::isShellEntryPresent(int32_t command)
{
    if (!hasShellEntries())
    {
        return false;
    }
    return command == CMD_SEND_TO ? ShellIntegration::hasSendTo(getShellEntryName(), programPath_->CStr())
                                  : ShellIntegration::hasContextMenu(getShellEntryName(), programPath_->CStr());
}

void Dialog::runShellCommand(int32_t command)
{
    if ((command != CMD_SEND_TO && command != CMD_CONTEXT_MENU) || !hasShellEntries())
    {
        return;
    }
    // The mark follows what is there, not what the menu showed: another copy or the user may
    // have changed the entry meanwhile.
    const bool present = isShellEntryPresent(command);
    const wchar_t* name = getShellEntryName();
    const wchar_t* program = programPath_->CStr();
    bool done;
    if (command == CMD_SEND_TO)
    {
        done = present ? ShellIntegration::removeSendTo(name) : ShellIntegration::addSendTo(name, program, text(TEXT_SHELL_VERB));
    }
    else
    {
        done = present ? ShellIntegration::removeContextMenu(name)
                       : ShellIntegration::addContextMenu(name, program, text(TEXT_SHELL_VERB));
    }
    if (s::gui::IPopupMenu* view = getViewMenu())
    {
        view->setItemChecked(command, isShellEntryPresent(command));
    }
    if (!done)
    {
        showInformation(text(TEXT_ENTRY_FAILED));
    }
}

} // namespace s::gui::dialogs::dragndrop
