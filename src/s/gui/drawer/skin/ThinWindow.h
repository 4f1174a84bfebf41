#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/skin/SkinBase.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::skin
{

// The skin of the family "ThinWindow" (fifteen-colour schemes): thin group frames with
// the caption in the top line, a thin status bar with a line along its top.
// Pooled: made by the Skinner for one scheme (build) and released with it.
class ThinWindow : public SkinBase
{
    S_CLASS_ID(L"s_gui_drawer_skin_ThinWindow")
    S_POOLED(ThinWindow)

  public:
    ~ThinWindow() override { releaseDrawers(); }
    void Reset() override { releaseDrawers(); }
    // Makes the drawers for `scheme` (one of the family's fixed schemes).
    void build(const Scheme* scheme);
};

} // namespace s::gui::drawer::skin
