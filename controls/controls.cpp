#include "controls.h"

#include "custom_frame.h"
#include "date_time_picker.h"
#include "framed_border.h"
#include "framed_grid.h"
#include "led_display.h"
#include "memo.h"
#include "styled_label.h"

void RegisterFramedControls() {
    RegisterComponent<TStringGrid>(QStringLiteral("TStringGrid"));
    RegisterComponent<TFrStringGrid>(QStringLiteral("TFrStringGrid"));
    RegisterComponent<TFrBorder>(QStringLiteral("TFrBorder"));
    RegisterComponent<TFrLEDDisplay>(QStringLiteral("TFrLEDDisplay"));
    RegisterComponent<TFrLabel>(QStringLiteral("TFrLabel"));
    RegisterComponent<TFrDateTimePicker>(QStringLiteral("TFrDateTimePicker"));
    RegisterComponent<TFrMemo>(QStringLiteral("TFrMemo"));
    RegisterComponent<TFrFrameController>(QStringLiteral("TFrFrameController"));
}
