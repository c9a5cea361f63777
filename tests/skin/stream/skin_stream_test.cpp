// The skin stream: our own skin, the codecs, the key colour and damage.
#include "component_stream.h"
#include "exceptions.h"
#include "skin_bytes.h"
#include "skin_engine.h"
#include "skin_source.h"
#include "skin_zlib.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QByteArray OurSkinFile() { return ReadFile(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/zodiraze.cskn")); }

// The SkinStream bytes of SkSkinEngine1 in the main window's description.
QByteArray EmbeddedSkinStream() {
    const ComponentData form = ReadComponentText(ReadFile(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/form1.form")));
    for (const ComponentData& c : form.children)
        if (c.name == QLatin1String("SkSkinEngine1"))
            if (const PropEntry* p = c.Find(QStringLiteral("SkinStream"))) return p->value.bin;
    return {};
}

std::unique_ptr<TSkSkinSource> LoadOurSkin() {
    auto s = std::make_unique<TSkSkinSource>();
    s->LoadFromBytes(OurSkinFile());
    return s;
}

std::unique_ptr<TskBitmap> Bitmap1x1(const QString& name, std::uint32_t px) {
    auto b = std::make_unique<TskBitmap>(name, 1, 1);
    b->SetPixel(0, 0, px);
    return b;
}

// A plain-layout stream written by hand: one bitmap of the given pixels.
QByteArray PlainWithPixels(const QString& name, const std::vector<std::uint32_t>& pixels) {
    TSkSkinSource s;
    auto b = std::make_unique<TskBitmap>(name, int(pixels.size()), 1);
    for (size_t k = 0; k < pixels.size(); ++k) b->SetPixel(int(k), 0, pixels[k]);
    s.Bitmaps().Add(std::move(b));
    return TSkSkinFilter(&s).WriteSkinBytes();
}

}  // namespace

TEST(OurSkin, EmbeddedStreamIsTheCommittedSkinAndDecodesCompletely) {
    const QByteArray embedded = EmbeddedSkinStream();
    ASSERT_GT(embedded.size(), 6);
    EXPECT_EQ(embedded.left(5), QByteArray("\x02VQZR", 5));
    EXPECT_EQ(embedded.mid(5, 2), QByteArray("\x78\x01", 2));  // zlib at the fastest level
    EXPECT_EQ(embedded.mid(1), OurSkinFile());

    // The reader refuses leftover bytes, so a load means nothing was left over.
    const QByteArray plain = SkinInflate(embedded.constData() + 5, embedded.size() - 5);
    TSkSkinSource s;
    TSkSkinFilter(&s).ReadSkinBytes(plain.constData(), plain.size());
    EXPECT_EQ(s.SkinName(), "Zodiraze");
    EXPECT_EQ(s.SkinVersion(), "3.1.0");
    EXPECT_GE(s.Bitmaps().Count(), 30);
    EXPECT_EQ(s.Object(0)->Name(), "Form");

    const std::map<QString, QStringList> parts = {
        {"Form", {"Caption", "Title", "Left", "Right", "Bottom", "Top", "TopLeft", "TopRight", "BottomLeft", "BottomRight",
                  "CloseButton", "MinimizeButton", "MaximizeButton", "RestoreButton", "RollUpButton", "RollDownButton",
                  "SysMenuButton", "Client"}},
        {"ToolWindow", {"Caption", "Title", "CloseButton", "Client"}},
        {"MenuBar", {"Frame", "Item", "ToolbarItem", "Min", "Restore", "Close"}},
        {"PopupMenu", {"Item", "Separator"}},
        {"Tabs", {"Frame", "TabTop", "TabBottom", "TabLeft", "TabRight", "Tab", "Text", "LeftButton", "RightButton"}},
        {"Edit", {"Frame", "Text"}},
        {"RadioButton", {"Checked", "Unchecked", "Text"}},
        {"CheckBox", {"Checked", "Unchecked", "Text"}},
        {"Button", {"Face", "Text"}},
        {"Grid", {"Frame", "Fixed", "Cell"}},
        {"Panel", {"Frame", "Caption", "ButtonRollup", "ButtonRolldown", "ButtonHide", "Button"}},
        {"ScrollBar", {}},
    };
    for (const auto& [top, names] : parts) {
        TSkSkinObject* o = s.GetObjectByName(top);
        ASSERT_NE(o, nullptr) << top.toStdString();
        for (const QString& n : names) EXPECT_NE(o->FindByName(n), nullptr) << top.toStdString() << "." << n.toStdString();
    }
    // Every link names a bitmap the skin has.
    std::function<void(TSkSkinObject*)> links = [&](TSkSkinObject* o) {
        o->ForEachLink([&](TskBitmapLink& l) {
            if (!l.name.isEmpty()) EXPECT_TRUE(l.Usable()) << o->Name().toStdString() << " " << l.name.toStdString();
        });
        for (int k = 0; k < o->ChildCount(); ++k) links(o->Child(k));
    };
    for (int k = 0; k < s.ObjectCount(); ++k) links(s.Object(k));
}

TEST(OurSkin, RoundTripsThroughEveryCodec) {
    auto skin = LoadOurSkin();
    QTemporaryDir dir;
    ASSERT_EQ(SkinFilters().size(), 4u);
    const QStringList expected{"uskn", "cskn", "xskn", "mskn"};
    for (size_t k = 0; k < SkinFilters().size(); ++k) {
        const TSkSkinFilterClass& codec = SkinFilters()[k];
        EXPECT_EQ(codec.extension, expected[int(k)]);
        const QString path = dir.filePath(QStringLiteral("copy.") + codec.extension.toUpper());
        skin->SaveToFile(path);
        TSkSkinSource back;
        back.LoadFromFile(path);
        EXPECT_TRUE(SameSkin(*skin, back)) << codec.extension.toStdString();
    }
    // The ultra codec compresses harder than the default one.
    skin->SaveToFile(dir.filePath("a.cskn"));
    skin->SaveToFile(dir.filePath("a.xskn"));
    EXPECT_LT(QFileInfo(dir.filePath("a.xskn")).size(), QFileInfo(dir.filePath("a.cskn")).size());
}

TEST(SkinStream, KeyColourWithinFiveOfEachChannel) {
    TSkSkinSource s;
    // red 124 green 2 blue 125 is the key; red 121 is one step too far; so is green 6.
    const std::uint32_t nearKey = 0xFF7C027D, farRed = 0xFF79007F, farGreen = 0xFF7F067F, plain = 0xFF336699;
    TSkSkinFilter(&s).ReadSkinBytes(PlainWithPixels("b", {nearKey, farRed, farGreen, plain}).constData(),
                                    PlainWithPixels("b", {nearKey, farRed, farGreen, plain}).size());
    const TskBitmap& b = *s.Bitmaps().At(0);
    EXPECT_EQ(b.Pixel(0, 0), kSkinTransparent);
    EXPECT_EQ(b.Pixel(1, 0), farRed);
    EXPECT_EQ(b.Pixel(2, 0), farGreen);
    EXPECT_TRUE(b.HasKeyColor());
    EXPECT_FALSE(b.HasPartialAlpha());

    const QByteArray half = PlainWithPixels("h", {0x80FFFFFF, 0xFF000000});
    TSkSkinFilter(&s).ReadSkinBytes(half.constData(), half.size());
    EXPECT_TRUE(s.Bitmaps().At(0)->HasPartialAlpha());
    EXPECT_FALSE(s.Bitmaps().At(0)->HasKeyColor());
}

TEST(SkinStream, SameNamedBitmapsAreKeptAndTheLastIsFound) {
    TSkSkinSource s;
    s.Bitmaps().Add(Bitmap1x1("Glyph", 0xFF000001));
    s.Bitmaps().Add(Bitmap1x1("glyph", 0xFF000002));
    const QByteArray bytes = TSkSkinFilterMaxCompression(&s).WriteSkinBytes();
    TSkSkinSource back;
    TSkSkinFilterMaxCompression(&back).ReadSkinBytes(bytes.constData(), bytes.size());
    ASSERT_EQ(back.Bitmaps().Count(), 2);
    EXPECT_EQ(back.Bitmaps().Find("GLYPH")->Pixel(0, 0), 0xFF000002u);

    // More than the record layout's count can say is refused when saving,
    // rather than written as a file that will not load.
    for (int k = 0; k < 0x10000; ++k) s.Bitmaps().Add(Bitmap1x1("many", 0xFF000001));
    EXPECT_THROW(TSkSkinFilterMaxCompression(&s).WriteSkinBytes(), EStreamError);
}

TEST(SkinStream, SignatureIsNotCheckedButTheZlibDataIs) {
    QByteArray bytes = OurSkinFile();
    bytes.replace(0, 4, "ABCD");
    TSkSkinSource s;
    s.LoadFromBytes(bytes);
    EXPECT_EQ(s.SkinName(), "Zodiraze");

    TSkSkinSource t;
    EXPECT_THROW(t.LoadFromBytes(QByteArray("VQZR") + QByteArray(100, 'x')), EStreamError);
    EXPECT_THROW(t.LoadFromBytes(QByteArray("VQ")), EStreamError);
    EXPECT_TRUE(t.Empty());
}

TEST(SkinStream, DamageRaisesAndKeepsTheSkinThatWasThere) {
    auto skin = LoadOurSkin();
    const int bitmaps = skin->Bitmaps().Count();
    const QByteArray plain = TSkSkinFilter(skin.get()).WriteSkinBytes();
    const QByteArray records = TSkSkinFilterMaxCompression(skin.get()).WriteSkinBytes();

    // Cut short anywhere, a stream is refused whole.
    for (qsizetype cut : {qsizetype(0), qsizetype(3), qsizetype(30), plain.size() / 3, plain.size() / 2, plain.size() - 1}) {
        EXPECT_THROW(TSkSkinFilter(skin.get()).ReadSkinBytes(plain.constData(), cut), EStreamError) << cut;
        EXPECT_THROW(TSkSkinFilterMaxCompression(skin.get()).ReadSkinBytes(records.constData(), std::min(cut, records.size() - 1)),
                     EStreamError) << cut;
    }
    const QByteArray compressed = skin->SaveToBytes();
    EXPECT_THROW(skin->LoadFromBytes(compressed.left(compressed.size() / 2)), EStreamError);
    EXPECT_EQ(skin->Bitmaps().Count(), bitmaps);
    EXPECT_EQ(skin->SkinName(), "Zodiraze");
    EXPECT_NE(skin->GetObjectByName("Form"), nullptr);

    // Counts and sizes that cannot fit are refused before anything is allocated.
    SkinByteWriter w;
    for (int k = 0; k < 5; ++k) w.String("x");
    w.Int32(1);
    w.String("huge");
    w.Int32(16000);
    w.Int32(16000);
    EXPECT_THROW(TSkSkinFilter(skin.get()).ReadSkinBytes(w.out.constData(), w.out.size()), EStreamError);
    SkinByteWriter many;
    for (int k = 0; k < 5; ++k) many.String("x");
    many.Int32(0x7FFFFFFF);
    EXPECT_THROW(TSkSkinFilter(skin.get()).ReadSkinBytes(many.out.constData(), many.out.size()), EStreamError);

    // Children nested past any sane depth.
    TSkSkinObject deep;
    TSkSkinObject* at = &deep;
    for (int k = 0; k < skin_limits::kMaxObjectDepth + 2; ++k) at = new TSkSkinObject(at);
    const QByteArray nested = deep.ObjectsData();
    TSkSkinObject reader;
    EXPECT_THROW(reader.ReadObjectsData(nested), EStreamError);

    // A bomb that inflates past the limit.
    const QByteArray zeros(qsizetype(skin_limits::kMaxSkinBytes) + 1024, '\0');
    const QByteArray bomb = QByteArray("VQZR") + SkinDeflate(zeros, 9);
    EXPECT_THROW(skin->LoadFromBytes(bomb), EStreamError);
    EXPECT_EQ(skin->Bitmaps().Count(), bitmaps);
}

TEST(SkinStream, UnknownObjectClassesAreSkipped) {
    TSkSkinSource s;
    auto known = std::make_unique<TSkSkinObject>();
    known->SetName("Known");
    s.AddObject(std::move(known));
    QByteArray plain = TSkSkinFilter(&s).WriteSkinBytes();
    // Rename the class of the record to one nobody registered, same length.
    plain.replace(QByteArray("TSkSkinObject"), QByteArray("TSkSkinObjecX"));
    TSkSkinSource back;
    TSkSkinFilter(&back).ReadSkinBytes(plain.constData(), plain.size());
    EXPECT_EQ(back.ObjectCount(), 0);
}

TEST(SkinFile, ExtensionsMissingFilesAndTheProgramDirectory) {
    auto skin = LoadOurSkin();
    TSkSkinSource s;
    s.LoadFromFile(QString());
    s.LoadFromFile(QStringLiteral("no-such-skin.cskn"));
    s.LoadFromFile(QStringLiteral("C:no-such-skin.cskn"));
    EXPECT_TRUE(s.Empty());

    QTemporaryDir dir;
    skin->SaveToFile(dir.filePath("odd.txt"));  // unknown extension: the default codec
    EXPECT_EQ(ReadFile(dir.filePath("odd.txt")).left(4), QByteArray("VQZR"));
    s.LoadFromFile(dir.filePath("odd.txt"));     // ... but no codec to load it with
    EXPECT_TRUE(s.Empty());

    // A relative name not found here is looked for beside the program.
    const QString name = QStringLiteral("skin-test-%1.uskn").arg(QCoreApplication::applicationPid());
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    skin->SaveToFile(besideProgram);
    ASSERT_FALSE(QFileInfo::exists(name)) << "run the tests outside the program's directory";
    s.LoadFromFile(name);
    EXPECT_TRUE(SameSkin(s, *skin));
    QFile::remove(besideProgram);
    // A name with a drive is not: not even when the program's directory has it.
    const QString withDrive = QStringLiteral("X:") + name;
    skin->SaveToFile(QDir(QCoreApplication::applicationDirPath()).filePath(withDrive));
    TSkSkinSource drive;
    drive.LoadFromFile(withDrive);
    EXPECT_TRUE(drive.Empty());
    QFile::remove(QDir(QCoreApplication::applicationDirPath()).filePath(withDrive));
}

TEST(SkinEngineStream, FlagByteAndWhatTheEngineWrites) {
    TSkSkinEngine engine(nullptr);
    engine.BeginLoading();
    engine.SetSkinStream(QByteArray(1, '\0') + OurSkinFile());
    EXPECT_TRUE(engine.Source().Empty());
    EXPECT_EQ(engine.SkinStream(), QByteArray(1, '\0'));

    engine.SetSkinFile(QStringLiteral("remembered-until-a-stream-loads.cskn"));
    engine.SetSkinStream(QByteArray(1, '\7') + OurSkinFile());
    engine.Loaded();
    EXPECT_EQ(engine.Source().SkinName(), "Zodiraze");
    EXPECT_TRUE(engine.SkinFile().isEmpty());
    EXPECT_FALSE(engine.Source().GetObjectByName("Form")->FindByKind(TSkKind::skClient)->Masked());
    const QByteArray written = engine.SkinStream();
    EXPECT_EQ(written.left(5), QByteArray("\x02VQZR", 5));
    TSkSkinSource back;
    back.LoadFromBytes(written.mid(1));
    EXPECT_TRUE(SameSkin(back, engine.Source()));
}

TEST(SkinStream, ChildrenInTextFormAndBitmapFilesInOlderRecords) {
    // A child list without the binary flag carries each child as text.
    auto textChildren = [](const QByteArray& text) {
        SkinByteWriter w;
        w.Int32(1);
        w.String("TSkSkinObject");
        w.StringBytes(text);
        return w.out;
    };
    TSkSkinObject parent;
    parent.ReadObjectsData(textChildren("object Part: TSkSkinObject\r\n  Width = 5\r\n  Kind = skClient\r\nend\r\n"));
    ASSERT_EQ(parent.ChildCount(), 1);
    EXPECT_EQ(parent.Child(0)->Name(), "Part");
    EXPECT_EQ(parent.Child(0)->Width(), 5);
    EXPECT_EQ(parent.Child(0)->Kind(), TSkKind::skClient);
    EXPECT_THROW(parent.ReadObjectsData(textChildren("object Part: TSkSkinObject\r\n  Bogus = 1\r\nend\r\n")), EStreamError);
    EXPECT_THROW(parent.ReadObjectsData(textChildren("object Part: TSkSkinObject\r\n  Kind = skNowhere\r\nend\r\n")), EStreamError);
    EXPECT_EQ(parent.ChildCount(), 1);  // a failed child leaves nothing behind

    // Records whose bitmap word lacks the flag hold bitmap files.
    QImage img(2, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(127, 0, 127));
    img.setPixel(1, 0, qRgb(10, 20, 30));
    QBuffer bmp;
    bmp.open(QIODevice::WriteOnly);
    ASSERT_TRUE(img.save(&bmp, "BMP"));
    SkinByteWriter w;
    for (int k = 0; k < 5; ++k) w.String("h");
    w.Int32(1);
    w.String("file");
    w.StringBytes(bmp.data());
    w.Int32(0);
    TSkSkinSource s;
    TSkSkinFilterMaxCompression(&s).ReadSkinBytes(w.out.constData(), w.out.size());
    ASSERT_EQ(s.Bitmaps().Count(), 1);
    EXPECT_EQ(s.Bitmaps().At(0)->Pixel(0, 0), kSkinTransparent);
    EXPECT_EQ(s.Bitmaps().At(0)->Pixel(1, 0), 0xFF0A141Eu);
    SkinByteWriter junk;
    for (int k = 0; k < 5; ++k) junk.String("h");
    junk.Int32(1);
    junk.String("file");
    junk.StringBytes("not a bitmap");
    junk.Int32(0);
    EXPECT_THROW(TSkSkinFilterMaxCompression(&s).ReadSkinBytes(junk.out.constData(), junk.out.size()), EStreamError);
    EXPECT_EQ(s.Bitmaps().At(0)->Name(), "file");
}

TEST(SkinEngineList, IndexChoosesAStoredSkinAndClamps) {
    TSkSkinList list;
    TSkSkinStream* empty = list.Add();
    TSkSkinStream* zodiraze = list.Add();
    zodiraze->SetSkinStream(QByteArray(1, '\1') + OurSkinFile());
    EXPECT_EQ(empty->DisplayName(), "(empty)");
    EXPECT_EQ(zodiraze->DisplayName(), "Zodiraze");
    EXPECT_EQ(empty->SkinStream(), QByteArray(1, '\0'));
    EXPECT_EQ(zodiraze->SkinStream().left(5), QByteArray("\x01VQZR", 5));

    TSkSkinEngine engine(nullptr);
    engine.SetSkinList(&list);
    engine.SetSkinIndex(0);  // an empty item loads nothing
    EXPECT_TRUE(engine.Source().Empty());
    engine.SetSkinIndex(7);
    EXPECT_EQ(engine.SkinIndex(), 1);
    EXPECT_TRUE(SameSkin(engine.Source(), zodiraze->Source()));
    engine.SetSkinList(nullptr);
    EXPECT_EQ(engine.SkinIndex(), -1);
}

TEST(OurSkin, WritingItBackGivesTheSameBytes) {
    // The stream format is kept byte for byte: every default and every
    // property order of the tables matters here.
    const QByteArray file = OurSkinFile();
    const QByteArray plain = SkinInflate(file.constData() + 4, file.size() - 4);
    TSkSkinSource s;
    TSkSkinFilter(&s).ReadSkinBytes(plain.constData(), plain.size());
    EXPECT_EQ(TSkSkinFilter(&s).WriteSkinBytes(), plain);
}

TEST(SkinStreamZlib, ChecksTheHeaderAndTheChecksumAsZlibDoes) {
    QRandomGenerator rng(3);
    QByteArray data(70000, Qt::Uninitialized);
    for (char& c : data) c = char(rng.bounded(7) == 0 ? rng.bounded(256) : 'a');
    // Every length around the sixteen-byte steps and the 5552-byte blocks.
    for (int n : {0, 1, 15, 16, 17, 5551, 5552, 5553, 11104, 70000}) {
        const auto* p = reinterpret_cast<const unsigned char*>(data.constData());
        EXPECT_EQ(SkinAdler32(1, p, std::size_t(n)), std::uint32_t(adler32(1, p, uInt(n)))) << n;
    }
    const QByteArray z = SkinDeflate(data, 1);
    EXPECT_EQ(SkinInflate(z.constData(), z.size()), data);

    auto refused = [](QByteArray bytes, const char* why) {
        try {
            SkinInflate(bytes.constData(), bytes.size());
        } catch (const EStreamError& e) {
            return e.Message().contains(QLatin1String(why));
        }
        return false;
    };
    QByteArray flipped = z;
    flipped[flipped.size() - 1] = char(flipped[flipped.size() - 1] ^ 1);
    EXPECT_TRUE(refused(flipped, "incorrect data check"));
    EXPECT_TRUE(refused(z.left(z.size() - 2), "ends before"));
    QByteArray header = z;
    header[1] = char(header[1] ^ 1);
    EXPECT_TRUE(refused(header, "incorrect header check"));
    QByteArray dictionary = z;
    dictionary[0] = char(0x78);
    dictionary[1] = char(0x3F);  // a valid check, with the preset-dictionary bit
    EXPECT_TRUE(refused(dictionary, "need dictionary"));
    EXPECT_TRUE(refused(QByteArray("\x78", 1), "ends before"));
}
