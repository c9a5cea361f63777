// A floor for start-up: a plain window that draws only the text of the main
// window's first page, in the same typefaces, sizes and weights, and ends
// after its first paint. No skin, no description, no controls: what is left
// of the main window's start-up above this is everything else it does.
#include "application.h"
#include "control.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

QFont Typeface(int pixels, bool bold) {
    QFont f;
    f.setFamilies(TFontSpec::FallbackFamilies());
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

class TextOnly final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setFont(Typeface(13, true));  // the caption
        p.drawText(30, 20, QStringLiteral("Markwise07.7"));
        p.setFont(Typeface(12, false));  // the menu bar
        int x = 10;
        for (const char* s : {"文档制作", "文档预览", "导入成绩", "统计指标", "帮助"}) {
            p.drawText(x, 45, QString::fromUtf8(s));
            x += 64;
        }
        p.setFont(Typeface(12, true));  // the tabs
        x = 10;
        for (const char* s : {"信息录入", "成绩分析", "直方图", "试卷分析", "成绩录入"}) {
            p.drawText(x, 70, QString::fromUtf8(s));
            x += 66;
        }
        p.setFont(Typeface(11, false));  // the raised welcome text: light, shade, face
        const QString welcome = QString::fromUtf8(
            "欢迎使用成绩分析！\n在左边的表格里每行输入一个成绩，\n按 Tab 键到下一行，可以输入小数。\n"
            "全部输入后点击【成绩分析】，\n分析结果和直方图就会出现。");
        for (int k = 0; k < 3; ++k) p.drawText(QRect(120 + k, 90 + k, 228, 78), Qt::AlignCenter, welcome);
        p.drawText(20, 100, QString::fromUtf8("成绩"));
        p.drawText(140, 300, QString::fromUtf8("成绩分析"));
        p.drawText(260, 300, QString::fromUtf8("重置"));
        p.setFont(Typeface(16, false));
        p.drawText(130, 250, QString::fromUtf8("您已经输入"));
        p.setFont(Typeface(16, true));
        p.drawText(260, 250, QString::fromUtf8("人"));
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TextOnly w;
    w.resize(402, 344);
    QuitAfterFirstPaint(&w);
    w.show();
    return app.exec();
}
