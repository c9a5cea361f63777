// Skinned controls: faces and frames by state, fallbacks, plain drawing
// without an object, the page control's ActivePage, the radio group.
#include "skin_controls.h"
#include "skin_engine.h"

#include <QFile>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QByteArray OurSkinFile() {
    QFile f(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/zodiraze.cskn"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

class SkinnedControls : public ::testing::Test {
protected:
    void SetUp() override {
        engine.SetSkinStream(QByteArray(1, '\2') + OurSkinFile());
        host.resize(400, 300);
    }
    TSkSkinEngine engine{nullptr};
    QWidget host;
};

}  // namespace

TEST_F(SkinnedControls, Debug) {
    TSkSkinButton b(nullptr, &host);
    b.resize(105, 41);
    b.setText("成绩分析");
    b.SetSkinEngine(&engine);
    ASSERT_NE(b.Skin(), nullptr);
    Shot(b).save("/tmp/ctl/dbg/button.png");
    b.move(50, 40);
    QImage whole = Shot(host);
    whole.save("/tmp/ctl/dbg/host.png");
    QImage part = host.grab(QRect(40, 30, 200, 100)).toImage();
    part.save("/tmp/ctl/dbg/hostpart.png");
}
