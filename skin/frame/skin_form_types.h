#pragma once
// The published value types of the skinned window frame.
#include "component.h"
#include "events.h"

#include <functional>

class TSkSkinObject;

enum class TSkBorderStyle { kbsNone, kbsStandard, kbsToolWindow };
enum class TSkWindowState { kwsNormal, kwsMaximized, kwsMinimized, kwsRollup, kwsTray };
enum class TSkFormPerformance { ksfpNoBuffer, ksfpSharedBuffer, ksfpPersistentBuffer, ksfpDoubleBuffer };
enum class TSkFormDragMode { kfdmBorder, kfdmFullDrag };

struct TSkDragging {
    bool moveable = true;
    bool sizeable = true;
    TSkFormDragMode dragMode = TSkFormDragMode::kfdmFullDrag;
};

// Snapping to the work area's edges while the window is moved by hand.
struct TSkGravitation {
    bool enabled = true;
    int size = 20;
};

// Window opacity, 0 to 255.
struct TSkBlending {
    bool enabled = false;
    int value = 150;
};

struct TSkShadow {
    bool enabled = false;
    int size = 4;
};

extern const EnumNames<TSkBorderStyle> kSkBorderStyleNames;
extern const EnumNames<TSkWindowState> kSkWindowStateNames;
extern const EnumNames<TSkFormPerformance> kSkFormPerformanceNames;
extern const EnumNames<TSkFormDragMode> kSkFormDragModeNames;
// BorderIcons members in bit order (kbiClose is bit 0).
extern const EnumNames<unsigned> kSkBorderIconNames;

// A window-state action asks first; a handler that clears CanDo cancels it.
using TSkPermitEvent = std::function<void(TComponent* Sender, bool& CanDo)>;
// A system button whose action is sbaCustom was clicked.
using TSkCustomActionEvent = std::function<void(TComponent* Sender, TSkSkinObject* Button)>;
