#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/skin/SkinBase.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::skin
{

// The skin of the family "Thin" (six-colour schemes): group captions with a line beside
// them, plain status bars.
// Pooled: made by the Skinner for one scheme (build) and released with it.
class Thin : public SkinBase
{
    S_CLASS_ID(L"s_gui_drawer_skin_Thin")
    S_POOLED(Thin)

  public:
    ~Thin() override { releaseDrawers(); }
    void Reset() override { releaseDrawers(); }
    // Makes the drawers for `scheme` (one of the family's fixed schemes).
    void build(const Scheme* scheme);
};

} // namespace s::gui::drawer::skin
