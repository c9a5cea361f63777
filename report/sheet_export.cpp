#include "sheet_export.h"

#include "atomic_file.h"
#include "office.h"
#include "office_document.h"
#include "report_errors.h"
#include "word.h"

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>

#include <QFile>
#include <QFileInfo>

using namespace com::sun::star;
using office::Prop;
using office::Q;
using office::Reference;
using office::U;

namespace {

// A whole workbook is a zip file: it starts with a local file header.
bool LooksWhole(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.size() > 22 && f.read(4) == QByteArray("PK\x03\x04", 4);
}

void Fill(const Reference<lang::XComponent>& component, const SheetTable& table) {
    Reference<sheet::XSpreadsheetDocument> doc(component, uno::UNO_QUERY_THROW);
    Reference<container::XIndexAccess> sheets(doc->getSheets(), uno::UNO_QUERY_THROW);
    Reference<sheet::XSpreadsheet> sheet(sheets->getByIndex(0), uno::UNO_QUERY_THROW);
    qsizetype columns = 0;
    for (const QVariantList& row : table.rows) columns = std::max(columns, row.size());
    if (table.rows.isEmpty() || columns == 0) return;
    uno::Sequence<uno::Sequence<uno::Any>> data(sal_Int32(table.rows.size()));
    auto* rows = data.getArray();
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        uno::Sequence<uno::Any> cells(static_cast<sal_Int32>(columns));
        auto* out = cells.getArray();
        const QVariantList& row = table.rows[r];
        for (qsizetype c = 0; c < columns; ++c) {
            const QVariant v = c < row.size() ? row[c] : QVariant(QString());
            if (v.typeId() == QMetaType::Double) out[c] <<= v.toDouble();
            else out[c] <<= U(v.toString());
        }
        rows[r] = cells;
    }
    Reference<table::XCellRange> range = sheet->getCellRangeByPosition(0, 0, sal_Int32(columns - 1), sal_Int32(table.rows.size() - 1));
    Reference<sheet::XCellRangeData>(range, uno::UNO_QUERY_THROW)->setDataArray(data);
    // Every column as wide as its longest text.
    Reference<table::XColumnRowRange> columnRange(range, uno::UNO_QUERY_THROW);
    Reference<beans::XPropertySet>(columnRange->getColumns(), uno::UNO_QUERY_THROW)
        ->setPropertyValue("OptimalWidth", uno::Any(true));
}

}  // namespace

bool WriteWorkbook(const QString& path, const SheetTable& table, const std::atomic<bool>* cancel) {
    const auto cancelled = [cancel] { return cancel && cancel->load(); };
    const QString draft = CreateTemporaryBeside(path);
    // Whatever happens below, the draft does not stay.
    struct Cleanup {
        const QString& draft;
        ~Cleanup() { QFile::remove(draft); }
    } cleanup{draft};

    if (cancelled()) return false;
    std::shared_ptr<office::Connection> connection = office::Connection::Open();
    office::ConnectionGuard officeGuard(connection);
    if (cancelled()) return false;
    try {
        Reference<frame::XComponentLoader> loader(connection->Desktop(), uno::UNO_QUERY_THROW);
        const beans::PropertyValue hidden[] = {Prop("Hidden", uno::Any(true))};
        Reference<lang::XComponent> component =
            loader->loadComponentFromURL("private:factory/scalc", "_blank", 0, uno::Sequence<beans::PropertyValue>(hidden, 1));
        if (!component.is()) throw reporterror::OfficeFailed(QStringLiteral("the office made no spreadsheet"));
        office::ClosingGuard closing(component);
        Fill(component, table);
        if (cancelled()) return false;
        const beans::PropertyValue store[] = {Prop("FilterName", uno::Any(rtl::OUString("Calc MS Excel 2007 XML"))),
                                              Prop("Overwrite", uno::Any(true))};
        Reference<frame::XStorable>(component, uno::UNO_QUERY_THROW)
            ->storeToURL(office::FileUrl(draft), uno::Sequence<beans::PropertyValue>(store, 2));
    } catch (const lang::DisposedException& e) {
        throw reporterror::OfficeGone(Q(e.Message));
    } catch (const uno::Exception& e) {
        throw reporterror::OfficeFailed(QStringLiteral("export failed: %1").arg(Q(e.Message)));
    }
    if (!LooksWhole(draft)) throw reporterror::OfficeFailed(QStringLiteral("the saved workbook is not whole"));
    if (cancelled()) return false;
    ReplaceFile(path, draft);
    return true;
}
