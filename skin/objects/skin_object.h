#pragma once
// Skin objects: named rectangles with a layout rule, colour, font, text and,
// for the bitmap kinds, links into the skin's bitmaps. A top-level object
// describes one kind of control; its descendants are that control's parts.
// This header brings the whole object model.
#include "skin_bitmap.h"
#include "skin_bitmap_object.h"
#include "skin_fields.h"
#include "skin_host.h"
#include "skin_hue.h"
#include "skin_kinds.h"
#include "skin_link.h"
#include "skin_object_stream.h"
#include "skin_registry.h"
#include "skin_second_family.h"
#include "skin_state_objects.h"
#include "skin_system_button.h"
#include "skin_tree.h"
