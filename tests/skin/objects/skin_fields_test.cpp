// Class tables: what each skin class publishes drives Assign, the link list,
// hue and character set, and the straight reading of stored forms.
#include "component_stream.h"
#include "exceptions.h"
#include "skin_object.h"
#include "skin_source.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QStringList& IdentCandidates() {
    static const QStringList names = [] {
    QStringList names{"clRed", "GB2312_CHARSET"};
    auto add = [&](const auto& e) {
        for (const QString& n : e.names) names << n;
    };
    add(kSkAlignNames);
    add(kSkKindNames);
    add(kSkTextAlignNames);
    add(kSkTextEffectNames);
    add(kSkTileStyleNames);
    add(kSkActionNames);
    add(kSkRollKindNames);
    return names;
    }();
    return names;
}

// Gives every published value property of o a value other than its default,
// whatever its kind; returns how many it changed.
int SetEveryProperty(TSkSkinObject& o) {
    int changed = 0;
    int n = 0;
    for (const PropertyInfo* p : o.Properties().All()) {
        if (!p->defaultValue || p->name == QLatin1String("Tag")) continue;
        const PropValue& def = *p->defaultValue;
        std::vector<PropValue> tries;
        switch (def.kind) {
        case PropValue::Kind::Int: tries.push_back(PropValue::Int(def.i + 3 + n++)); break;
        case PropValue::Kind::Bool: tries.push_back(PropValue::Bool(!def.b)); break;
        case PropValue::Kind::String: tries.push_back(PropValue::Str(QStringLiteral("x%1").arg(n++))); break;
        case PropValue::Kind::Set: tries.push_back(PropValue::Set({"fsBold"})); break;
        case PropValue::Kind::Ident:
            for (const QString& id : IdentCandidates()) tries.push_back(PropValue::Ident(id));
            break;
        default: break;
        }
        bool done = false;
        for (const PropValue& v : tries) {
            try {
                o.SetProperty(p->name, v);
            } catch (const Exception&) {
                continue;
            }
            if (o.GetProperty(p->name) != def) {
                ++changed;
                done = true;
                break;
            }
        }
        if (!done) ADD_FAILURE() << "no other value for " << p->name.toStdString();
    }
    return changed;
}

int ValueProperties(const TSkSkinObject& o) {
    int n = 0;
    for (const PropertyInfo* p : o.Properties().All())
        if (p->defaultValue && p->name != QLatin1String("Tag")) ++n;
    return n;
}

std::unique_ptr<TSkSkinObject> Make(const QString& cls) { return std::unique_ptr<TSkSkinObject>(FindSkinObjectClass(cls)(nullptr)); }

}  // namespace

// A class a later skin might add: one declaration per member, nothing else.
class TSkTestGauge : public TSkButtonObject {
    TSK_SKIN_CLASS(TSkTestGauge)
public:
    using TSkButtonObject::TSkButtonObject;
    int level_ = 0;
    TColor needle_ = clWhite;
    TskBitmapLink dial_;
    TFontSpec scaleFont_;
};

const SkinClassTable& TSkTestGauge::StaticTable() {
    using T = TSkTestGauge;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkButtonObject::StaticTable(), [](SkinFields<T>& f) {
        f.Int("Level", &T::level_, 0).Color("Needle", &T::needle_).Link("Dial", &T::dial_).Font("ScaleFont", &T::scaleFont_);
    });
    return table;
}

TEST(SkinClassTables, AFreshObjectOfEveryClassStoresNothing) {
    // A table default that differs from the constructor's would be written
    // into every stored object. Only the children are always written.
    for (const QString& cls : SkinObjectClassNames()) {
        auto o = Make(cls);
        for (const PropEntry& e : o->Save().props)
            EXPECT_EQ(e.name, "Objects") << cls.toStdString();
    }
}

TEST(SkinClassTables, AssignCopiesEveryPublishedPropertyAndNoRunTimeState) {
    for (const QString& cls : SkinObjectClassNames()) {
        auto source = Make(cls);
        source->SetName("Part");
        EXPECT_EQ(SetEveryProperty(*source), ValueProperties(*source)) << cls.toStdString();
        source->SetVisible(false);
        source->SetEnabled(false);
        source->SetActive(true);
        source->SetState(skstate::Pressed);
        source->SetText("caption");
        std::unique_ptr<TSkSkinObject> copy(CloneSkinObject(*source));
        EXPECT_EQ(copy->Save(), source->Save()) << cls.toStdString();
        EXPECT_TRUE(copy->Visible());
        EXPECT_TRUE(copy->Enabled());
        EXPECT_FALSE(copy->Active());
        EXPECT_EQ(copy->State(), skstate::Normal);
        EXPECT_TRUE(copy->Text().isEmpty());
    }
}

TEST(SkinClassTables, ASubclassCopiesOnlyWhatTheSourceHas) {
    TSkBitmapObject source;
    source.SetKind(TSkKind::skCaption);
    source.Bitmap().name = "b";
    TSkButtonObject button;
    button.BitmapHot().name = "kept";
    button.Assign(source);
    EXPECT_EQ(button.Kind(), TSkKind::skCaption);
    EXPECT_EQ(button.Bitmap().name, "b");
    EXPECT_EQ(button.BitmapHot().name, "kept");  // a plain bitmap object has no hot bitmap to give
}

TEST(SkinClassTables, AMemberDeclaredOnceIsStoredReadCopiedLinkedShiftedAndGivenTheCharset) {
    RegisterSkinObjectClass("TSkTestGauge", [](TComponent* owner) -> TSkSkinObject* { return new TSkTestGauge(owner); });
    TskBitmapList bitmaps;
    auto bmp = std::make_unique<TskBitmap>("dial", 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) bmp->SetPixel(x, y, 0xFF112233);
    bmp->SetPixel(0, 0, kSkinTransparent);
    bmp->TestPartialAlpha();
    bitmaps.Add(std::move(bmp));

    TSkTestGauge gauge;
    gauge.SetName("Gauge");
    gauge.level_ = 7;
    gauge.needle_ = clRed;
    gauge.dial_ = TskBitmapLink{"Dial", 0, 0, 4, 4};
    gauge.scaleFont_.name = "Sans";
    // Read back from both stored forms, as a skin stream brings it.
    const QByteArray binary = WriteComponentBinary(gauge.Save());
    std::unique_ptr<TSkSkinObject> read(ReadSkinObjectBinary("TSkTestGauge", binary, nullptr));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Save(), gauge.Save());
    std::unique_ptr<TSkSkinObject> fromText(ReadSkinObjectText("TSkTestGauge", WriteComponentText(gauge.Save()), nullptr));
    EXPECT_EQ(fromText->Save(), gauge.Save());

    read->SetBitmaps(&bitmaps);
    read->AfterLoad();
    auto* g = static_cast<TSkTestGauge*>(read.get());
    EXPECT_EQ(g->dial_.bitmap, bitmaps.At(0));  // found case-insensitively
    EXPECT_TRUE(g->dial_.centerTransparent);
    int links = 0;
    read->ForEachLink([&](TskBitmapLink&) { ++links; });
    EXPECT_EQ(links, 6);  // Bitmap, the four state bitmaps, Dial

    std::unique_ptr<TSkSkinObject> copy(CloneSkinObject(*read));
    auto* c = static_cast<TSkTestGauge*>(copy.get());
    EXPECT_EQ(c->level_, 7);
    EXPECT_EQ(c->dial_.bitmap, bitmaps.At(0));
    copy->SetCharset(134);
    EXPECT_EQ(c->scaleFont_.charset, 134);
    copy->ChangeHue(85);
    EXPECT_NE(c->needle_, clRed);
    EXPECT_EQ(g->needle_, clRed);  // the source is untouched
}

TEST(SkinStraightReading, GivesWhatTheGenericReaderGivesForEveryObjectOfOurSkin) {
    QFile f(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/zodiraze.cskn"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    TSkSkinSource skin;
    skin.LoadFromBytes(f.readAll());
    std::function<void(const TSkSkinObject&)> same = [&](const TSkSkinObject& o) {
        const ComponentData stored = o.Save();
        std::unique_ptr<TSkSkinObject> generic(CreateSkinObject(o.ClassName(), ReadComponentBinary(WriteComponentBinary(stored)), nullptr));
        std::unique_ptr<TSkSkinObject> straight(ReadSkinObjectBinary(o.ClassName(), WriteComponentBinary(stored), nullptr));
        EXPECT_EQ(generic->Save(), stored) << o.Name().toStdString();
        EXPECT_EQ(straight->Save(), stored) << o.Name().toStdString();
        for (int k = 0; k < o.ChildCount(); ++k) same(*o.Child(k));
    };
    for (int k = 0; k < skin.ObjectCount(); ++k) same(*skin.Object(k));
}

TEST(SkinStraightReading, TakesWhatTheUsualConversionsTake) {
    auto read = [](const QByteArray& text) {
        return std::unique_ptr<TSkSkinObject>(ReadSkinObjectText("TSkBitmapObject", text, nullptr));
    };
    // Out of table order, other spellings, identifiers for numbers and the
    // component's own properties all go the long way and still arrive.
    auto o = read("object P: TSkBitmapObject\r\n  TileStyle = tsCenter\r\n  font.color = clRed\r\n  Color = $FF\r\n"
                  "  KIND = SKCLIENT\r\n  Tag = 3\r\n  Bitmap.Name = 'a'#98' c' +\r\n  'd'\r\n  Masked = FALSE\r\n"
                  "  Font.Charset = 134\r\n  Font.Style = [fsBold, fsItalic]\r\n  Width = 4294967295\r\nend\r\n");
    ASSERT_NE(o, nullptr);
    auto* b = static_cast<TSkBitmapObject*>(o.get());
    EXPECT_EQ(b->TileStyle(), TskTileStyle::tsCenter);
    EXPECT_EQ(o->Font().color, clRed);
    EXPECT_EQ(o->Color(), TColor(0xFF));
    EXPECT_EQ(o->Kind(), TSkKind::skClient);
    EXPECT_EQ(o->Tag(), 3);
    EXPECT_EQ(b->Bitmap().name, "ab cd");
    EXPECT_FALSE(o->Masked());
    EXPECT_EQ(o->Font().charset, 134);
    EXPECT_EQ(o->Font().style, unsigned(fsBold | fsItalic));
    EXPECT_EQ(o->Width(), 0);  // 2^32 - 1 is -1, clamped at 0
    // What the usual conversions refuse, the straight way refuses too.
    for (const char* bad : {"  Width = 1.5\r\n", "  Width = 4294967296\r\n", "  Kind = skNowhere\r\n", "  Color = clNoSuch\r\n",
                            "  Masked = 1\r\n", "  Bitmap.Name = Ident\r\n", "  Nothing = 1\r\n", "  Objects = {0100}\r\n"}) {
        const QByteArray text = QByteArray("object P: TSkBitmapObject\r\n") + bad + "end\r\n";
        EXPECT_THROW(read(text), EStreamError) << bad;
    }
}

TEST(SkinNames, FoundInEitherEncodingAndNeverByLossyLookalikes) {
    SkinNameIndex index;
    index.Add("Font.Color", 1);
    index.Add(QStringLiteral("成绩"), 2);
    index.Add("Font.Color", 3);  // a second entry of a name replaces the first
    for (int k = 0; k < 40; ++k) index.Add(QStringLiteral("Name%1").arg(k), 10 + k);
    EXPECT_EQ(index.Find(QLatin1StringView("Font.Color")), 3);
    EXPECT_EQ(index.Find(QStringView(u"Font.Color")), 3);
    EXPECT_EQ(index.Find(QStringView(u"成绩")), 2);
    EXPECT_EQ(index.Find(QLatin1StringView("??")), -1);
    EXPECT_EQ(index.Find(QLatin1StringView("font.color")), -1);  // exact only: others take the usual way
    EXPECT_EQ(index.Find(QLatin1StringView("Name39")), 49);
    EXPECT_EQ(index.Find(QStringView(u"Name40")), -1);
    EXPECT_EQ(index.Find(QLatin1StringView("")), -1);
}
