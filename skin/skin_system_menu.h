#pragma once
// The window's system menu: what it offers in each window state, and the one
// place that shows it.
#include "skin_form_types.h"
#include "skin_object.h"

#include <QPoint>
#include <QString>
#include <vector>

class QWidget;

struct TSkSystemMenuEntry {
    QString caption;   // with its accelerator; "-" is a separator
    QString shortcut;  // shown at the right
    TSkAction action = TSkAction::sbaNone;
    bool enabled = true;
};

// Restore, minimise, maximise (and roll up or down when the window has that
// icon), then close; an entry the state or the border icons rule out is
// disabled, not left out, so the menu keeps its shape.
std::vector<TSkSystemMenuEntry> SystemMenuEntries(TSkWindowState state, unsigned borderIcons);

// Shows the entries at a global position and waits for the choice; sbaNone
// when the menu is dismissed.
TSkAction PopupSystemMenu(QWidget* owner, QPoint globalPos, const std::vector<TSkSystemMenuEntry>& entries);
