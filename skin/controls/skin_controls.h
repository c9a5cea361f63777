#pragma once
// The skinned controls of the main window. Their behaviour lives with each
// control; the skin changes only how they are drawn.
#include "control.h"
#include "skin_button.h"
#include "skin_edit.h"
#include "skin_grid.h"
#include "skin_label.h"
#include "skin_page_control.h"
#include "skin_panel.h"
#include "skin_radio_button.h"
#include "skin_skinnable.h"

void RegisterSkinControls();
