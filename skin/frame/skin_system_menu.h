#pragma once
// The window's system menu: what it offers in each window state, and how it
// goes into the skinned popup menu.
#include "skin_form_types.h"
#include "skin_object.h"

#include <QString>
#include <functional>
#include <vector>

class TSkSkinPopupMenu;

struct TSkSystemMenuEntry {
    QString caption;    // with its accelerator; "-" is a separator
    int shortCut = 0;   // a Qt key combination, shown at the right
    TSkAction action = TSkAction::sbaNone;
    bool enabled = true;
};

// Restore, minimise, maximise (and roll up or down when the window has that
// icon), then close; an entry the state or the border icons rule out is
// disabled, not left out, so the menu keeps its shape.
std::vector<TSkSystemMenuEntry> SystemMenuEntries(TSkWindowState state, unsigned borderIcons);

// Replaces the menu's items with the entries; choosing one performs its action.
void FillSystemMenu(TSkSkinPopupMenu& menu, const std::vector<TSkSystemMenuEntry>& entries,
                    const std::function<void(TSkAction)>& perform);
