#pragma once
#include "s/gui/IContainer.h"

namespace s::gui
{

class IBox;

// A frame with a caption around one content box, laid out inside the frame below the
// caption. The group box owns its content.
class IGroupBox : public IContainer
{
  public:
    virtual void setTextId(int textId) = 0;
    virtual void setText(const wchar_t* text) = 0;
    // Replaces the content (the old one goes back to its pool); null removes it.
    virtual void setContent(IBox* content) = 0;
    // Null when none; stays owned by the group box.
    virtual IBox* getContent() = 0;
};

} // namespace s::gui
