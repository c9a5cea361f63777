#pragma once
// The frame a form draws without a skin: the parts, kinds and system buttons
// of a skin's form object, in the system colours, so that hit-testing, the
// buttons and the window states work the same way with or without a skin.
#include "skin_bitmap.h"

#include <memory>

class TSkSkinObject;

class TSkPlainFrame {
public:
    TSkPlainFrame();
    ~TSkPlainFrame();
    TSkPlainFrame(const TSkPlainFrame&) = delete;
    TSkPlainFrame& operator=(const TSkPlainFrame&) = delete;

    TSkSkinObject* Form() const { return form_.get(); }
    // A tool window gets a lower caption with a close button only.
    void SetToolWindow(bool tool);

private:
    TskBitmapList bitmaps_;
    std::unique_ptr<TSkSkinObject> form_;
};
