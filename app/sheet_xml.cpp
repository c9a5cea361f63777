#include "sheet_xml.h"

namespace {
constexpr int kMaxDepth = 64;
}

ESheetFileError TooManyCells() {
    return ESheetFileError(QStringLiteral("表格的单元格超过%1个，不像是一个班级的成绩表，没有读取。").arg(kMaxWorkbookCells));
}

void ParseSheetXml(SheetArchive& archive, const QString& entry, qint64 maxBytes,
                   const std::function<void(QXmlStreamReader&)>& onToken) {
    QXmlStreamReader xml;
    int depth = 0;
    const auto broken = [] { return ESheetFileError(QStringLiteral("文件已损坏（内容不是完整的表格数据）。")); };
    const auto drain = [&] {
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType t = xml.readNext();
            if (xml.hasError()) {
                if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) return;
                throw broken();
            }
            switch (t) {
            case QXmlStreamReader::DTD:
            case QXmlStreamReader::EntityReference: throw broken();
            case QXmlStreamReader::StartElement:
                if (++depth > kMaxDepth) throw broken();
                onToken(xml);
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                onToken(xml);
                break;
            case QXmlStreamReader::Characters: onToken(xml); break;
            default: break;
            }
        }
    };
    archive.Read(entry, maxBytes, [&](const char* p, qsizetype n) {
        xml.addData(QByteArray(p, n));
        drain();
    });
    if (!xml.atEnd() || xml.hasError() || depth != 0) throw broken();
}
