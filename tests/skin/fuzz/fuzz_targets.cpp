// libFuzzer entry points, one per reader of untrusted skin input; the build
// picks one with FUZZ_TARGET. Every input must end in a load or a clean
// EStreamError, and whatever loads must lay out, draw and shape safely.
#include "component_stream.h"
#include "exceptions.h"
#include "skin_object.h"
#include "skin_source.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>

namespace {

// What a control does with a loaded object: copy, resize, paint, shape.
void Exercise(const TSkSkinObject& o) {
    std::unique_ptr<TSkSkinObject> copy(CloneSkinObject(o));
    if (!copy) return;
    copy->SetBounds(0, 0, 64, 40);
    copy->SetState(skstate::Hot);
    QImage img(64, 40, QImage::Format_RGB32);
    img.fill(0);
    {
        QPainter p(&img);
        copy->Draw(p);
    }
    (void)copy->Mask();
    (void)copy->HitTest(QPoint(10, 10));
    copy->ChangeHue(17);
}

void ExerciseSource(TSkSkinSource& s) {
    for (int k = 0; k < s.ObjectCount() && k < 3; ++k) Exercise(*s.Object(k));
    s.SetDeltaHue(-9);
    (void)TSkSkinFilter(&s).WriteSkinBytes();
}

void FromComponent(const ComponentData& d) {
    std::unique_ptr<TSkSkinObject> o(CreateSkinObject(d.className, d, nullptr));
    if (o) Exercise(*o);
}

// A frame that says yes to every border icon, as the window's frame would.
struct Frame : TSkFormActions, TSkSkinHost {
    void SkClose() override {}
    void SkShowHelp() override {}
    void SkMinimize() override {}
    void SkMaximize() override {}
    void SkRestore() override {}
    void SkRollUp() override {}
    void SkMinimizeToTray() override {}
    void SkShowSystemMenu() override {}
    void SkCustomAction(TSkSkinObject*) override {}
    unsigned SkBorderIcons() const override { return 0x7F; }
    TSkFormActions* SkinFormOwner() override { return this; }
};

// What the skinned window does with a whole skin: the frame's copy of the
// form and a few controls' copies, laid out at window sizes from a sliver to
// far beyond any screen, drawn, hit and shaped in each window state.
void ExerciseFace(TSkSkinSource& s) {
    Frame frame;
    std::vector<const TSkSkinObject*> objects;
    if (const TSkSkinObject* form = s.GetFormObject()) objects.push_back(form);
    for (int k = 0; k < s.ObjectCount() && objects.size() < 4; ++k) objects.push_back(s.Object(k));
    const QSize sizes[] = {{3, 2}, {120, 90}, {400, 300}, {1 << 24, 1 << 24}};
    const int states[] = {skstate::Normal, skstate::Maximized, skstate::RolledUp};
    for (const TSkSkinObject* o : objects) {
        std::unique_ptr<TSkSkinObject> copy(CloneSkinObject(*o));
        if (!copy) continue;
        copy->SetHost(&frame);
        for (std::size_t k = 0; k < std::size(sizes); ++k) {
            const QSize size = sizes[k];
            copy->SetState(states[k % std::size(states)]);
            copy->SetActive(k % 2 == 0);
            copy->SetBounds(0, 0, size.width(), size.height());
            // The window's own pixels stay small; the rest is clipped away.
            QImage img(std::min(size.width(), 400), std::min(size.height(), 300), QImage::Format_RGB32);
            img.fill(0);
            {
                QPainter p(&img);
                copy->Draw(p);
            }
            (void)copy->Mask();
            (void)copy->HitTest(QPoint(size.width() / 2, 1));
            if (TSkSkinObject* part = copy->FindByKind(TSkKind::skSysButton)) {
                part->MouseEnter();
                part->MouseDown(TMouseButton::mbLeft, {});
                part->MouseUp(TMouseButton::mbLeft, {});
                (void)part->GetRegion();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    try {
        TSkSkinSource s;
#if FUZZ_TARGET == 1
        TSkSkinFilter(&s).ReadSkinBytes(bytes, std::int64_t(size));
        ExerciseSource(s);
#elif FUZZ_TARGET == 2
        TSkSkinFilterMaxCompression(&s).ReadSkinBytes(bytes, std::int64_t(size));
        ExerciseSource(s);
#elif FUZZ_TARGET == 3
        s.LoadFromBytes(QByteArray::fromRawData(bytes, qsizetype(size)));
        ExerciseSource(s);
#elif FUZZ_TARGET == 4
        FromComponent(ReadComponentBinary(QByteArray::fromRawData(bytes, qsizetype(size))));
#elif FUZZ_TARGET == 5
        FromComponent(ReadComponentText(QByteArray(bytes, qsizetype(size))));
#elif FUZZ_TARGET == 6
        if (size < 1) return 0;
        switch (data[0] % 3) {  // the layout, then the skin
        case 0: TSkSkinFilter(&s).ReadSkinBytes(bytes + 1, std::int64_t(size) - 1); break;
        case 1: TSkSkinFilterMaxCompression(&s).ReadSkinBytes(bytes + 1, std::int64_t(size) - 1); break;
        default: s.LoadFromBytes(QByteArray::fromRawData(bytes + 1, qsizetype(size) - 1)); break;
        }
        s.AfterLoadFixUp();
        ExerciseFace(s);
#else
#error "FUZZ_TARGET names the reader"
#endif
    } catch (const Exception&) {
        // A clear error is the right answer to a damaged stream.
    }
    return 0;
}
