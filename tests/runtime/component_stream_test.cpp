#include "component_cursor.h"
#include "component_stream.h"
#include "exceptions.h"
#include "gbk.h"
#include "qt_print.h"

#include <gtest/gtest.h>

namespace {
ComponentData EveryTag() {
    ComponentData c;
    c.className = "TSample";
    c.name = "Sample1";
    c.props = {
        {"Small", PropValue::Int(-5), 0},
        {"Medium", PropValue::Int(3000), 0},
        {"Large", PropValue::Int(12164479), 0},
        {"Huge", PropValue::Int(1LL << 40), 0},
        {"Ratio", PropValue::Float(0.3451388888888889), 0},
        {"Caption", PropValue::Str(QStringLiteral("成绩分析 'quoted'")), 0},
        {"Long", PropValue::Str(QString(300, 'x')), 0},
        {"Wide", PropValue::Str(QStringLiteral("√ 闭卷 \u20AC")), 0},
        {"Lines", PropValue::Str(QStringLiteral("a\rb")), 0},
        {"Color", PropValue::Ident("clBtnFace"), 0},
        {"Off", PropValue::Bool(false), 0},
        {"On", PropValue::Bool(true), 0},
        {"Data", PropValue::Binary(QByteArray::fromHex("00FF7F80") + QByteArray(70, '\x11')), 0},
        {"Options", PropValue::Set({"goEditing", "goTabs"}), 0},
        {"NoOptions", PropValue::Set({}), 0},
        {"Items", PropValue::List({PropValue::Str("one"), PropValue::Str("二")}), 0},
        {"Font.Name", PropValue::Str("Verdana"), 0},
    };
    ComponentData child;
    child.className = "TChild";
    child.name = "Child1";
    child.props = {{"Left", PropValue::Int(8), 0}};
    c.children.push_back(child);
    return c;
}
}

TEST(ComponentForms, EveryTagRoundTripsThroughBinaryAndText) {
    const ComponentData original = EveryTag();
    const QByteArray binary = WriteComponentBinary(original);
    EXPECT_EQ(ReadComponentBinary(binary), original);
    const QByteArray text = ObjectBinaryToText(binary);
    EXPECT_EQ(ReadComponentText(text), original);
    EXPECT_EQ(ObjectTextToBinary(text), binary);
}

TEST(ComponentForms, WritersUseTheSmallestIntegerTag) {
    ComponentData c;
    c.className = "T";
    c.name = "A";
    c.props = {{"P", PropValue::Int(127), 0}, {"Q", PropValue::Int(-129), 0}, {"R", PropValue::Int(40000), 0}};
    const QByteArray b = WriteComponentBinary(c);
    // "TPF0", 1+"T", 1+"A", then 1+"P" 02 7F, 1+"Q" 03 7F FF, 1+"R" 04 40 9C 00 00
    EXPECT_EQ(b.mid(8).toHex(), QByteArray("0150027f0151037fff015204409c0000" "0000"));
}

TEST(ComponentForms, TextFormLooksLikeTheUsualLayout) {
    ComponentData c;
    c.className = "TForm1";
    c.name = "Form1";
    c.props = {{"Caption", PropValue::Str("Markwise07.7"), 0}, {"Options", PropValue::Set({"a", "b"}), 0}};
    EXPECT_EQ(WriteComponentText(c), QByteArray("object Form1: TForm1\r\n  Caption = 'Markwise07.7'\r\n  Options = [a, b]\r\nend\r\n"));
}

TEST(ComponentForms, TextJoinsCharacterCodesAndContinuedStrings) {
    const ComponentData c = ReadComponentText(
        "object A: TA\n  Caption = 'one'#13'two' +\n    ' three'\n  Gbk = #179#201#188#168\nend\n");
    EXPECT_EQ(c.Find("Caption")->value.s, QStringLiteral("one\rtwo three"));
    EXPECT_EQ(c.Find("Gbk")->value.s, QStringLiteral("成绩"));  // GBK bytes B3C9 BCA8
}

TEST(ComponentForms, DamagedBinaryRaisesInsteadOfReadingPastTheEnd) {
    const QByteArray good = WriteComponentBinary(EveryTag());
    int raised = 0;
    for (int cut = 0; cut < good.size(); ++cut) {
        try {
            ReadComponentBinary(good.left(cut));
        } catch (const EStreamError&) {
            ++raised;
        }
    }
    EXPECT_EQ(raised, good.size());
    QByteArray hugeLength = QByteArray("TPF0") + char(1) + 'T' + char(1) + 'A' + char(1) + 'P' + char(0x0A) +
                            QByteArray::fromHex("FFFFFF7F");
    EXPECT_THROW(ReadComponentBinary(hugeLength), EStreamError);
    EXPECT_THROW(ReadComponentBinary(good + "x"), EStreamError);
    QByteArray badTag = good;
    badTag[int(badTag.indexOf("Small") + 5)] = char(0x7E);
    EXPECT_THROW(ReadComponentBinary(badTag), EStreamError);
}

TEST(ComponentForms, TextErrorsNameTheSourceAndLine) {
    try {
        ReadComponentText("object A: TA\n  Left = 1\n  Top = ]\nend\n", "window.form");
        FAIL();
    } catch (const EStreamError& e) {
        EXPECT_TRUE(e.Message().startsWith("window.form(3)")) << e.Message().toStdString();
    }
    EXPECT_THROW(ReadComponentText("object A: TA\n  Caption = 'open\nend\n"), EStreamError);
    EXPECT_THROW(ReadComponentText("object A: TA\n"), EStreamError);
    QByteArray deep;
    for (int i = 0; i < 100; ++i) deep += "object A: TA\n";
    EXPECT_THROW(ReadComponentText(deep), EStreamError);
}

TEST(ComponentForms, AsciiTextReadsAsItsWideCopyDoes) {
    // Plain ASCII is read byte by byte, other text as UTF-16: both alike.
    ComponentData plain = EveryTag();
    std::erase_if(plain.props, [](const PropEntry& e) { return e.name == "Caption" || e.name == "Wide" || e.name == "Items"; });
    const QByteArray ascii = ObjectBinaryToText(WriteComponentBinary(plain));
    ASSERT_TRUE(gbk::isAscii(ascii));
    ComponentData wide;
    VisitComponentText(QString::fromLatin1(ascii), "t", [&](ComponentCursor& c) {
        wide.className = c.ClassName();
        wide.name = c.ObjectName();
        while (c.Next()) wide.props.push_back({c.Name().toString(), c.Value(), c.Line()});
    });
    ComponentData bytes = ReadComponentText(ascii);
    bytes.children.clear();
    EXPECT_EQ(wide, bytes);
    EXPECT_EQ(wide.props[3].line, bytes.props[3].line);
    EXPECT_EQ(ReadComponentText(ascii + "// trailing note\r\n", "t").name, "Sample1");
}

TEST(ComponentForms, BinaryTextInAnyLayoutAndItsDamage) {
    QByteArray data;
    for (int k = 0; k < 300; ++k) data.append(char(k * 37));
    const QByteArray hex = data.toHex();
    // Upper and lower case, split digits, tabs and blank lines all decode alike.
    QByteArray odd = "object A: TA\n  Data = {\n";
    for (int k = 0; k < hex.size(); k += 7) odd += (k % 2 ? hex.mid(k, 7).toUpper() : hex.mid(k, 7)) + (k % 3 ? " \t" : "\n\n");
    odd += "}\n  After = 1\nend\n";
    const ComponentData c = ReadComponentText(odd);
    EXPECT_EQ(c.Find("Data")->value.bin, data);
    EXPECT_EQ(c.Find("After")->line, odd.left(odd.indexOf("After")).count('\n') + 1);
    for (const QString& wide : {QString::fromLatin1(odd), QString::fromLatin1(odd) + QStringLiteral("// 成绩\n")}) {
        QByteArray seen;
        VisitComponentText(wide, "w", [&](ComponentCursor& cur) {
            while (cur.Next()) {
                QByteArrayView v;
                if (cur.TakeBinary(v)) seen = v.toByteArray();
            }
        });
        EXPECT_EQ(seen, data);
    }
    auto fails = [](const QByteArray& text, const char* why) {
        try {
            ReadComponentText(text, "f");
        } catch (const EStreamError& e) {
            return e.Message().contains(QLatin1String(why));
        }
        return false;
    };
    EXPECT_TRUE(fails("object A: TA\n  Data = {0A1\n}\nend\n", "odd number"));
    EXPECT_TRUE(fails("object A: TA\n  Data = {\n0A\n1G}\nend\n", "f(4): bad hexadecimal digit"));
    EXPECT_TRUE(fails("object A: TA\n  Data = {0A1B\nend\n", "'}' expected"));
}
