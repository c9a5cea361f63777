// The workbook readers on zips made here byte by byte: a sound book read
// right, and damaged or hostile ones refused with a Chinese message within
// bounded memory and work.
#include "score_column.h"
#include "sheet_archive.h"
#include "workbook_readers.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

namespace {

// A zip in memory; deflated entries can be fed in pieces, and an entry can
// claim a size it does not have.
class Zip {
public:
    void Add(const QString& name, const QByteArray& data) {
        Add(name, [&](const std::function<void(const QByteArray&)>& put) { put(data); });
    }
    // content produces the entry's bytes; declared replaces the true size in the headers.
    void Add(const QString& name, const std::function<void(const std::function<void(const QByteArray&)>&)>& content,
             qint64 declared = -1) {
        z_stream z{};
        deflateInit2(&z, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        QByteArray packed;
        uLong crc = crc32(0, nullptr, 0);
        qint64 size = 0;
        char out[65536];
        const auto pump = [&](const QByteArray& in, int flush) {
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
            z.avail_in = uInt(in.size());
            do {
                z.next_out = reinterpret_cast<Bytef*>(out);
                z.avail_out = sizeof out;
                deflate(&z, flush);
                packed.append(out, qsizetype(sizeof out - z.avail_out));
            } while (z.avail_out == 0);
        };
        content([&](const QByteArray& piece) {
            crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.constData()), uInt(piece.size()));
            size += piece.size();
            pump(piece, Z_NO_FLUSH);
        });
        pump(QByteArray(), Z_FINISH);
        deflateEnd(&z);
        const QByteArray n = name.toUtf8();
        const quint32 claimed = quint32(declared >= 0 ? declared : size);
        Entry e{n, quint32(local_.size()), quint32(crc), quint32(packed.size()), claimed};
        local_ += U32(0x04034b50) + U16(20) + U16(0) + U16(8) + U32(0) + U32(e.crc) + U32(e.packed) + U32(e.size) +
                  U16(quint16(n.size())) + U16(0) + n + packed;
        entries_.push_back(e);
    }
    QByteArray Bytes() const {
        QByteArray dir;
        for (const Entry& e : entries_)
            dir += U32(0x02014b50) + U16(20) + U16(20) + U16(0) + U16(8) + U32(0) + U32(e.crc) + U32(e.packed) +
                   U32(e.size) + U16(quint16(e.name.size())) + U16(0) + U16(0) + U16(0) + U16(0) + U32(0) +
                   U32(e.offset) + e.name;
        return local_ + dir + U32(0x06054b50) + U16(0) + U16(0) + U16(quint16(entries_.size())) +
               U16(quint16(entries_.size())) + U32(quint32(dir.size())) + U32(quint32(local_.size())) + U16(0);
    }

private:
    struct Entry {
        QByteArray name;
        quint32 offset, crc, packed, size;
    };
    static QByteArray U32(quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); }
    static QByteArray U16(quint16 v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); }
    QByteArray local_;
    std::vector<Entry> entries_;
};

const char* const kMain = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                          "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

// A two-sheet workbook around sheet1's XML.
Zip Book(const QByteArray& sheet1, const QByteArray& strings) {
    Zip z;
    z.Add("_rels/.rels", "<Relationships><Relationship Id=\"rId1\" Type=\"http://x/officeDocument\" "
                         "Target=\"xl/workbook.xml\"/></Relationships>");
    z.Add("xl/workbook.xml", QByteArray("<workbook ") + kMain +
                                 "><sheets><sheet name=\"期中\" sheetId=\"1\" r:id=\"rId1\"/>"
                                 "<sheet name=\"空表\" sheetId=\"2\" r:id=\"rId2\"/></sheets></workbook>");
    z.Add("xl/_rels/workbook.xml.rels",
          "<Relationships><Relationship Id=\"rId1\" Type=\"http://x/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
          "<Relationship Id=\"rId2\" Type=\"http://x/worksheet\" Target=\"/xl/worksheets/sheet2.xml\"/>"
          "<Relationship Id=\"rId3\" Type=\"http://x/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>");
    z.Add("xl/worksheets/sheet1.xml", sheet1);
    z.Add("xl/worksheets/sheet2.xml", QByteArray("<worksheet ") + kMain + "><sheetData/></worksheet>");
    z.Add("xl/sharedStrings.xml", strings);
    return z;
}

QByteArray Sheet(const QByteArray& rows) { return QByteArray("<worksheet ") + kMain + "><sheetData>" + rows + "</sheetData></worksheet>"; }

const QByteArray kStrings = QByteArray("<sst ") + kMain +
                            "><si><t>姓名</t></si><si><t>成绩</t></si><si><r><t>张</t></r><r><t>三</t></r>"
                            "<rPh><t>zhang</t></rPh></si></sst>";

void ExpectRefused(const QByteArray& bytes, const char* says, bool ods = false) {
    try {
        ods ? ReadOdsBook(bytes) : ReadXlsxBook(bytes);
        ADD_FAILURE() << "read without complaint: " << says;
    } catch (const ESheetFileError& e) {
        EXPECT_TRUE(e.Message().contains(QString::fromUtf8(says))) << e.Message().toStdString();
    }
}

}  // namespace

TEST(XlsxBook, SheetsNamesSharedAndInlineTextNumbersAndSparseCells) {
    const QByteArray rows =
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"s\"><v>1</v></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"s\"><v>2</v></c><c r=\"C3\"><v>59.399999999999999</v></c></row>"
        "<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>李四</t></is></c><c r=\"C4\"><f>1+1</f><v>100</v></c></row>";
    const auto sheets = ReadXlsxBook(Book(Sheet(rows), kStrings).Bytes());
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].name, QStringLiteral("期中"));
    EXPECT_EQ(sheets[1].name, QStringLiteral("空表"));
    EXPECT_TRUE(sheets[1].table.rows.isEmpty());
    const ScoreTable& t = sheets[0].table;
    ASSERT_EQ(t.rows.size(), 3);
    EXPECT_EQ(t.rows[0].cells, (QStringList{QStringLiteral("姓名"), "", QStringLiteral("成绩")}));
    EXPECT_EQ(t.rows[1].sourceRow, 3);
    EXPECT_EQ(t.rows[1].cells, (QStringList{QStringLiteral("张三"), "", "59.4"}));  // no reading aid, no float noise
    EXPECT_EQ(t.rows[2].cells, (QStringList{QStringLiteral("李四"), "", "100"}));
}

TEST(XlsxBook, DamagedAndHostileBooksAreRefusedWithAMessage) {
    const QByteArray good = Book(Sheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"), kStrings).Bytes();
    ExpectRefused(good.left(good.size() / 2), "损坏");
    ExpectRefused(good.left(good.size() - 30), "损坏");
    QByteArray flipped = good;
    const qsizetype crc = good.indexOf("PK\x01\x02") + 16;  // the first entry's checksum in the directory
    flipped[crc] = char(flipped[crc] ^ 0x55);
    ExpectRefused(flipped, "损坏");
    ExpectRefused("PK\x03\x04 not a zip at all", "损坏");

    // A bomb: 100 MB of blanks in a sheet, once said as it is and once hidden behind a small size.
    for (qint64 declared : {qint64(-1), qint64(1000)}) {
        Zip bomb = Book(Sheet(""), kStrings);
        bomb.Add("xl/worksheets/sheet1.xml",
                 [](const std::function<void(const QByteArray&)>& put) {
                     put(QByteArray("<worksheet><sheetData>"));
                     const QByteArray blanks(1 << 20, ' ');
                     for (int k = 0; k < 100; ++k) put(blanks);
                 },
                 declared);
        ExpectRefused(bomb.Bytes(), "压缩炸弹");
    }
    // Half a million shared strings.
    QByteArray many = QByteArray("<sst ") + kMain + ">";
    for (int k = 0; k < 500000; ++k) many += "<si><t>x</t></si>";
    ExpectRefused(Book(Sheet(""), many + "</sst>").Bytes(), "文字内容过多");
    // Nested far deeper than any sheet, and a document type with entities.
    ExpectRefused(Book(Sheet(QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000)), kStrings).Bytes(), "损坏");
    ExpectRefused(Book("<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\">]><worksheet>&a;</worksheet>", kStrings).Bytes(), "损坏");
    // A cell far to the right of every other costs its padding, bounded.
    QByteArray wide;
    for (int r = 1; r <= 40; ++r) wide += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"XFD" + QByteArray::number(r) + "\"><v>1</v></c></row>";
    ExpectRefused(Book(Sheet(wide), kStrings).Bytes(), "单元格超过");
}

TEST(OdsBook, RepeatsAreCountedNotWrittenOut) {
    const QByteArray content =
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>"
        "<table:table table:name=\"一班\">"
        "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>姓<text:s/>名</text:p></table:table-cell>"
        "<table:table-cell office:value-type=\"string\"><text:p>成绩</text:p></table:table-cell>"
        "<table:table-cell table:number-columns-repeated=\"16382\"/></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell office:value-type=\"string\">"
        "<text:p>同分</text:p></table:table-cell><table:table-cell office:value-type=\"float\" office:value=\"85.5\">"
        "<text:p>85.50</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell table:number-columns-repeated=\"16384\"/>"
        "</table:table-row></table:table>"
        "<table:table table:name=\"二班\"/></office:spreadsheet></office:body></office:document-content>";
    Zip z;
    z.Add("mimetype", "application/vnd.oasis.opendocument.spreadsheet");
    z.Add("content.xml", content);
    const auto sheets = ReadOdsBook(z.Bytes());
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].name, QStringLiteral("一班"));
    const ScoreTable& t = sheets[0].table;
    ASSERT_EQ(t.rows.size(), 3);
    EXPECT_EQ(t.rows[0].cells, (QStringList{QStringLiteral("姓 名"), QStringLiteral("成绩")}));
    EXPECT_EQ(t.rows[2].sourceRow, 3);
    EXPECT_EQ(t.rows[2].cells, (QStringList{QStringLiteral("同分"), "85.5"}));

    // One filled cell said to repeat a million times is no class list.
    Zip hostile;
    hostile.Add("content.xml", QByteArray(content).replace("number-rows-repeated=\"2\"", "number-rows-repeated=\"1000000\""));
    ExpectRefused(hostile.Bytes(), "单元格超过", true);
}
