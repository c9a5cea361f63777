#include "skin_controls.h"

#include "application.h"
#include "image_list.h"
#include "skin_engine.h"

#include <QMouseEvent>
#include <QPainter>

void RegisterSkinControls() {
    RegisterComponent<TSkSkinEdit>(QStringLiteral("TSkSkinEdit"));
    RegisterComponent<TSkSkinButton>(QStringLiteral("TSkSkinButton"));
    RegisterComponent<TSkSkinRadioButton>(QStringLiteral("TSkSkinRadioButton"));
    RegisterComponent<TSkSkinLabel>(QStringLiteral("TSkSkinLabel"));
    RegisterComponent<TSkSkinPanel>(QStringLiteral("TSkSkinPanel"));
    RegisterComponent<TSkCustomTabSheet>(QStringLiteral("TSkCustomTabSheet"));
    RegisterComponent<TSkSkinPageControl>(QStringLiteral("TSkSkinPageControl"));
    RegisterComponent<TSkSkinStringGrid>(QStringLiteral("TSkSkinStringGrid"));
}
