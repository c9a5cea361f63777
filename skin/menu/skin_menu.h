#pragma once
// The skinned menus: items, the menu bar, popup menus and their windows,
// the menu mode, and the reveal effects they may be shown with.
#include "skin_animation.h"
#include "skin_effects.h"
#include "skin_item.h"
#include "skin_menu_bar.h"
#include "skin_menu_mode.h"
#include "skin_popup_menu.h"
#include "skin_popup_window.h"

// Registers the menu classes that window descriptions name.
void RegisterSkinMenuComponents();
