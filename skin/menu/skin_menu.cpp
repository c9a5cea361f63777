#include "skin_menu.h"

void RegisterSkinMenuComponents() {
    RegisterComponent<TSkSkinItem>(QStringLiteral("TSkSkinItem"));
    RegisterComponent<TSkSkinMenuBar>(QStringLiteral("TSkSkinMenuBar"));
    RegisterComponent<TSkSkinPopupMenu>(QStringLiteral("TSkSkinPopupMenu"));
    // The effects are ready before the first window opens.
    EffectRegistry();
}
