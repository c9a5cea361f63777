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
#else
#error "FUZZ_TARGET names the reader"
#endif
    } catch (const Exception&) {
        // A clear error is the right answer to a damaged stream.
    }
    return 0;
}
