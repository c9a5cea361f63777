#pragma once
// What a tree of skin objects talks to: the control that draws it and, for
// system buttons, the skinned window frame their actions work on.
#include "skin_kinds.h"

#include <QIcon>

class TSkSkinObject;

// The skinned window frame as system buttons see it: what their actions do.
class TSkFormActions {
public:
    virtual ~TSkFormActions() = default;
    virtual void SkClose() = 0;
    virtual void SkShowHelp() = 0;
    virtual void SkMinimize() = 0;
    virtual void SkMaximize() = 0;
    virtual void SkRestore() = 0;
    virtual void SkRollUp() = 0;
    virtual void SkMinimizeToTray() = 0;
    virtual void SkShowSystemMenu() = 0;
    virtual void SkCustomAction(TSkSkinObject* button) = 0;
    virtual unsigned SkBorderIcons() const { return kbiClose | kbiSystemMenu | kbiMinimize | kbiMaximize; }
    virtual QIcon SkFormIcon() const { return QIcon(); }
};

// The control that draws a tree of skin objects.
class TSkSkinHost {
public:
    virtual ~TSkSkinHost() = default;
    // An object changed its look on its own (hover, press): repaint it.
    virtual void SkinObjectChanged(TSkSkinObject*) {}
    // The frame that system buttons act on; null for an unskinned window.
    virtual TSkFormActions* SkinFormOwner() { return nullptr; }
};
